#include "self_signed_certificate.h"

#include <QProcess>
#include <QTemporaryDir>

#include "whole_file.h"

namespace plx::sim {

std::optional<SelfSignedCertificate> makeSelfSignedCertificate(const QString& subjectAltName) {
    const QTemporaryDir folder;
    if (!folder.isValid()) return std::nullopt;
    const QString certificate = folder.filePath(QStringLiteral("host.pem"));
    const QString key = folder.filePath(QStringLiteral("host.key"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                   "-nodes", "-days", "2", "-subj", "/CN=Plyxen400 test host", "-addext",
                   "subjectAltName=" + subjectAltName, "-keyout", key, "-out", certificate});
    if (!openssl.waitForFinished(30000) || openssl.exitStatus() != QProcess::NormalExit ||
        openssl.exitCode() != 0) {
        return std::nullopt;
    }
    SelfSignedCertificate made{wholeFile(certificate), wholeFile(key)};
    if (made.certificate.isEmpty() || made.key.isEmpty()) return std::nullopt;
    return made;
}

}  // namespace plx::sim
