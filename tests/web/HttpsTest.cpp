#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "WebTestSupport.h"
#include "web/HttpSession.h"

namespace tarvolin::test {
namespace {

namespace fs = std::filesystem;

// A self-signed certificate for a host name that is not the one the test connects to.
class SelfSignedCertificate {
public:
    SelfSignedCertificate() {
        char pattern[] = "/tmp/tarvolin-tls-XXXXXX";
        folder_ = mkdtemp(pattern);
        const std::string command =
            "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
            " -keyout '" +
            Key() + "' -out '" + Certificate() + "' -days 2 -subj /CN=other.example >/dev/null 2>&1";
        made_ = std::system(command.c_str()) == 0;
    }
    ~SelfSignedCertificate() { fs::remove_all(folder_); }
    bool Made() const { return made_; }
    std::string Certificate() const { return (folder_ / "cert.pem").string(); }
    std::string Key() const { return (folder_ / "key.pem").string(); }

private:
    fs::path folder_;
    bool made_ = false;
};

TEST(Https, SelfSignedCertificateForAnotherHostIsAccepted) {
    SelfSignedCertificate certificate;
    ASSERT_TRUE(certificate.Made());
    LibServer server(
        std::make_unique<httplib::SSLServer>(certificate.Certificate().c_str(), certificate.Key().c_str()));
    server.Routes().Get("/secure", [](const httplib::Request&, httplib::Response& r) {
        r.set_header("Set-Cookie", "tls=1; Secure");
        r.set_content("secret page", "text/plain");
    });
    server.Start();

    HttpSession session;
    for (const char* scheme : {"https://", "HTTPS://"}) {
        SCOPED_TRACE(scheme);
        ASSERT_TRUE(session.Get(T(server.Url("/secure", scheme))));
        EXPECT_EQ(S(session.Scheme()), "https://");
        EXPECT_EQ(session.RequestFlags(), 0x84A83000u);
        EXPECT_EQ(S(session.ReadBodyRaw(0)), "secret page");
    }
    EXPECT_EQ(S(session.GetAllCookies()), "tls=1");
    EXPECT_EQ(server.Seen().size(), 2u);
}

}  // namespace
}  // namespace tarvolin::test
