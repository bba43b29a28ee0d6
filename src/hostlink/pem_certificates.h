#pragma once
// The certificates of a PEM file (SERVER_AS400.pem): each "-----BEGIN CERTIFICATE-----"
// block, its base64 decoded. Text around the blocks is ignored, as in any CA bundle; blocks
// of other kinds (a key put in by mistake) are skipped.

#include <string>
#include <vector>

namespace plx {

// In the working folder: the certificates the host's must be or chain to.
inline const std::string kHostCertificatesFile = "SERVER_AS400.pem";

struct PemCertificates {
    std::vector<std::string> der;  // one DER certificate per block, in file order
    std::string problem;           // why the file is unusable; empty when it is usable
};

// A file is unusable when it holds no certificate, a block without its end line, or a
// block whose content is not base64 of one DER structure.
PemCertificates readPemCertificates(const std::string& text);

}  // namespace plx
