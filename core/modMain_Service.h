#pragma once
// The service checks of the main module (namespace modMain): the sign-in check of a user name
// and password, and the version check.
#include <QString>
#include <cstdint>

namespace modMain {

class Progress;

// Checks the credentials with the service, showing the request's lines on progress (none
// without one; kind says who asks, as for modHttp::HttpRequest). Sets
// UserNameURL and PasswordURL to their URL encodings whatever the outcome. Returns the full
// name the service knows (trimmed, "" when the reply names none), or a reply code in decimal
// digits ("100" when no reply came).
QString CheckName(const QString &user, const QString &password, int32_t kind, Progress *progress = nullptr);

// Asks the service for the newest program version, showing the request's lines on progress
// (the main window's status line, when its caller hands it in). Returns that version when it differs from
// the running one (and stores it as "updates"/"versionNew"), "-1" when it is the same (status
// line 1001), or "#" and the text of the reply code on failure. A reply without an error code
// stores today's day key as "updates"/"DateCheckedforUpdates".
QString CheckVersion(Progress *progress = nullptr);

} // namespace modMain
