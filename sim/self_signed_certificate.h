#pragma once
// A host certificate made on the spot with Debian's openssl: a self-signed P-256 certificate
// and its key, both PEM, valid for two days, for a simulated host served over TLS.

#include <QByteArray>
#include <QString>
#include <optional>

namespace plx::sim {

struct SelfSignedCertificate {
    QByteArray certificate;
    QByteArray key;
};

// `subjectAltName` as openssl takes it: "IP:127.0.0.1", "DNS:localhost". Nothing when openssl
// is missing or fails.
std::optional<SelfSignedCertificate> makeSelfSignedCertificate(const QString& subjectAltName);

}  // namespace plx::sim
