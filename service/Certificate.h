#pragma once
// A self-signed certificate for 127.0.0.1 and localhost, made once and kept in the service's
// data folder so that tests can trust it through TARV_CA_FILE.
#include <QString>

namespace service {

// Makes certPath and keyPath (an EC P-256 key, SHA-256 signature, ten years) unless both
// already exist. Returns false with the reason in *error.
bool EnsureSelfSignedCertificate(const QString &certPath, const QString &keyPath, QString *error);

} // namespace service
