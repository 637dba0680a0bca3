#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

namespace pixolo
{

// The settings file could not be written: "Unable to write to %s".
class EIniWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Returns once at least `milliseconds` have passed, handling the thread's events meanwhile: the whole user interface
// stays live during the wait, and returns promptly at the deadline even when no event comes. When the application
// quits during the wait (its main window closed), it returns at once.
void Delay(std::uint32_t milliseconds);

// The value of the key, whole, or `defaultValue` when the file, section or key is missing.
QString IniReadString(const QString &fileName, const QString &section, const QString &key, const QString &defaultValue);

// Why a settings file that exists cannot be read ("Permission denied", …); empty when it can be, or is missing.
QString IniReadProblem(const QString &fileName);

// Writes the value (creating file, section and key as needed) and returns true; throws EIniWriteError when the
// system refuses, leaving the old file whole: "Unable to write to <file>. <the system's reason>".
bool IniWriteString(const QString &fileName, const QString &section, const QString &key, const QString &value);

} // namespace pixolo
