#pragma once
// Small helpers shared by the test suites.
#include <QString>
#include <functional>

namespace testenv {

// A fresh empty folder under TMPDIR, removed by the caller's fixture if it likes (the isolate
// wrapper removes the whole test root anyway).
QString MakeTempDir(const QString &prefix = QStringLiteral("dir"));

// Lets the event loop run until pred() is true or timeoutMs passes; returns pred().
bool WaitFor(const std::function<bool()> &pred, int timeoutMs = 5000);

// Presses the button named buttonName of the next modal window that appears within
// timeoutMs, from a single-shot timer, so the modal box itself runs for real.
void AnswerNextModal(const QString &buttonName, int timeoutMs = 5000);

} // namespace testenv
