// tarvolin-demo-site: the bundled company directory on 127.0.0.1.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "SiteServer.h"

namespace {

const char* kUsage =
    "usage: tarvolin-demo-site [PORT] [--port PORT] [--pages N] [--release-version V]\n"
    "\n"
    "Serves a company directory on 127.0.0.1 and prints its address (http://127.0.0.1:PORT).\n"
    "PORT 0 (the default) takes any free port. Runs until interrupted.\n"
    "\n"
    "  --pages N             result pages for keywords that do not choose their own\n"
    "                        (default: 3 to 6, derived from the keyword)\n"
    "  --release-version V   the version /release.html announces (default 1.3)\n"
    "\n"
    "A keyword may choose its results: \"灯具@pages=3\" gives 3 pages (the last one shorter),\n"
    "\"灯具@total=60\" gives 60 companies, \"灯具@none\" or \"@pages=0\" gives none.\n"
    "\n"
    "Pages: /search/index.php?_d=company&_a=company_s_search&f=search&terms=KEYWORD[&p=N],\n"
    "/company/ID.html, /go.php?id=ID (redirects to the company), /release.html (code page 936).\n";

bool ReadNumber(const char* text, int& value) {
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || number < 0 || number > 65535) return false;
    value = static_cast<int>(number);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int port = 0;
    demosite::SiteOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--port" && hasValue) {
            ok = ReadNumber(argv[++i], port);
        } else if (arg == "--pages" && hasValue) {
            ok = ReadNumber(argv[++i], options.defaultPages);
        } else if (arg == "--release-version" && hasValue) {
            options.releaseVersion = argv[++i];
        } else {
            ok = ReadNumber(argv[i], port);
        }
        if (!ok) {
            std::fprintf(stderr, "tarvolin-demo-site: bad argument '%s'\n\n%s", argv[i], kUsage);
            return 2;
        }
    }

    // Block the stop signals before any thread starts, then wait for one here.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    demosite::SiteServer site(options);
    if (!site.Start(port)) {
        std::fprintf(stderr, "tarvolin-demo-site: cannot listen on 127.0.0.1:%d: %s\n", port,
                     std::strerror(errno));
        return 1;
    }
    std::printf("%s\n", site.Address().c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    site.Stop();
    return 0;
}
