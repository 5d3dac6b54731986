#pragma once
// The desktop shell: the person's autostart entries (programs the desktop starts at log-in,
// XDG autostart: $XDG_CONFIG_HOME/autostart/<name>.desktop) and opening a file or an address
// with the desktop's own handler.
#include <QString>
#include <stdexcept>

namespace shell {

// An autostart entry that cannot be written or removed.
class ShellError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The person's autostart folder: $XDG_CONFIG_HOME/autostart ($HOME/.config/autostart when
// XDG_CONFIG_HOME is unset or not absolute), looked up on every call.
QString StartupFolder();

// The file of the autostart entry called name: StartupFolder() + "/" + name + ".desktop".
QString AutostartEntryPath(const QString &name);

// Writes (or overwrites) the autostart entry called name that runs the program file target
// in the folder workingDir. Creates the autostart folder when missing. Throws ShellError.
void CreateAutostartEntry(const QString &name, const QString &target, const QString &workingDir);

// Removes the autostart entry called name. Returns false when there was none; throws
// ShellError when it exists and cannot be removed.
bool RemoveAutostartEntry(const QString &name);

// Opens a local file (an absolute or relative path) or an address (a text with a scheme such as
// "https:" or "mailto:") with the desktop's handler; false when nothing could open it.
bool ShellExecute(const QString &fileOrAddress);

} // namespace shell
