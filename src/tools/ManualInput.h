#pragma once
// The work of the "Handle Input" window: one HL7 result message pushed through the result
// intake by hand, from a file or from typed text written to that file first.

#include <QString>

#include <functional>

class ManualInput {
public:
    // HandleInput with the cleaned text (the storage mode comes from the "w/o SP" box).
    std::function<bool(const QString &text)> handleInput;

    // The scratch file of typed messages: "temp.hl7" in the system's temporary directory.
    static QString defaultFile();

    // Reads the file (a missing one is created empty), cleans the text as the result poll
    // does and hands it on. Returns "OK" or "Fail"; a file that cannot be read or written
    // throws std::runtime_error with the description.
    QString processFile(const QString &path);
    // Writes text, its line breaks as CR LF, followed by CR LF into the file (replacing it),
    // then processFile.
    QString process(const QString &path, const QString &text);
};
