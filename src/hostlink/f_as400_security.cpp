// The host link's protection: TLS when the working folder holds SERVER_AS400.pem (the host's
// certificate must be or chain to one of it) or when the port is telnets' 992 (the system's
// trust store); telnet in clear otherwise, as the link always was.
#include "gateway/gateway.h"
#include "hostlink/f_as400.h"
#include "hostlink/pem_certificates.h"
#include "platform/ipv4.h"
#include "shared/numeric_text.h"
#include "tools/dns.h"

namespace plx {
namespace {

constexpr std::uint16_t kTelnetsPort = 992;

}  // namespace

std::optional<TlsSettings> F_AS400::hostSecurity(std::uint16_t port, std::string& problem) {
    Files& files = gateway_.platform().files();
    const std::string path = gateway_.state().filePath(kHostCertificatesFile);
    TlsSettings tls;
    // The name or address the settings give, not what it resolves to: that is who the host
    // must prove to be. A dotted address is written as the connection reads it (decimal).
    const std::string named = trimSpaces(INP_IP.text());
    const auto dotted = parseDottedIPv4(named);
    tls.peerName = dotted ? IP_TO_TEXT(*dotted) : named;
    if (files.exists(path)) {
        const std::optional<std::string> text = files.read(path);
        if (!text) {
            const std::string why = files.readProblem();
            problem = kHostCertificatesFile + " cannot be read" + (why.empty() ? "" : ": " + why);
            return std::nullopt;
        }
        PemCertificates certificates = readPemCertificates(*text);
        if (!certificates.problem.empty()) {
            problem = kHostCertificatesFile + ": " + certificates.problem;
            return std::nullopt;
        }
        tls.on = true;
        tls.trustedCertificates = std::move(certificates.der);
        security_ = Security::PinnedCertificates;
    } else if (port == kTelnetsPort) {
        tls.on = true;
        security_ = Security::SystemTrust;
    } else {
        security_ = Security::Clear;
    }
    return tls;
}

}  // namespace plx
