extern "C" __attribute__((visibility("default"))) int NotASkinEngine() {
    return 0;
}
