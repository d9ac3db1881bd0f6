#pragma once
// A fresh RSA key pair made by the openssl command for a test, and
// signatures made with it: an implementation independent of ours.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "TempFolder.h"
#include "updater/RsaSignature.h"

namespace zrtest {

// The standard output of a shell command; empty when it failed.
inline std::string Run(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        if (::pclose(pipe) != 0) return "";
    }
    return out;
}

class OpenSslKey {
public:
    explicit OpenSslKey(int bits = 2048) {
        Run("openssl genrsa -out '" + Pem() + "' " + std::to_string(bits) + " 2>/dev/null && echo ok");
        std::string modulus = Run("openssl rsa -in '" + Pem() + "' -modulus -noout");
        modulus = modulus.substr(modulus.find('=') + 1);
        modulus.erase(modulus.find_last_not_of("\r\n") + 1);
        if (auto bytes = updater::BytesFromHex(modulus)) key.modulus = *bytes;
    }
    const std::string& Folder() const { return folder_.Path(); }
    std::string Pem() const { return folder_.Path() + "/key.pem"; }

    // openssl's SHA-256 signature of `message` with this key.
    updater::Bytes Sign(const std::string& message) const {
        const std::string file = folder_.Path() + "/message";
        std::ofstream(file, std::ios::binary) << message;
        const std::string raw = Run("openssl dgst -sha256 -sign '" + Pem() + "' '" + file + "'");
        return updater::Bytes(raw.begin(), raw.end());
    }

    updater::RsaPublicKey key;

private:
    TempFolder folder_;
};

}  // namespace zrtest
