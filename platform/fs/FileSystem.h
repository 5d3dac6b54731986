#pragma once
// The file operations the program uses: read a text file whole, delete, rename, and the
// hidden/normal attribute. Linux has no hidden bit: the attribute is kept as a flag of the
// file (an extended attribute where the file system takes one, and in this process's memory
// in any case), and the file is never renamed for it.
#include <QString>
#include <optional>

namespace fsys {

enum Attributes { Normal = 0, Hidden = 2 };

// Reads a UTF-16 text file whole (a byte-order mark decides the byte order; without one,
// little-endian as Windows writes it). Returns nullopt when the file is missing or unreadable.
std::optional<QString> ReadUnicodeText(const QString &path);

bool FileExists(const QString &path);
// Deletes a file; false when it was there and could not be deleted.
bool DeleteFile(const QString &path);
// Renames (moves) a file within its file system, replacing nothing: false when target exists
// or the rename failed.
bool MoveFile(const QString &from, const QString &to);
// Renames over an existing target in one step (rename(2)), so the target is either the old or
// the new file, never missing.
bool ReplaceFile(const QString &from, const QString &to);

void SetAttributes(const QString &path, int attributes);
int GetAttributes(const QString &path);

// Flushes a file's data and its folder entry to disk.
bool SyncFile(const QString &path);

} // namespace fsys
