// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace moravelt {

// A file written under a temporary name beside its final one and renamed into place only
// when complete, so a failed build never leaves half a file. Removed if never committed.
class OutputFile
{
public:
    explicit OutputFile(const QString& finalPath);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const QString& tempPath() const { return m_tempPath; }
    // Writes the whole temporary file; throws MoraveltError saying why it could not, in words.
    void write(const QByteArray& bytes) const { writeWhole(m_tempPath, bytes); }
    static void writeWhole(const QString& path, const QByteArray& bytes);
    const QString& finalPath() const { return m_finalPath; }
    // Replaces the final file; throws MoraveltError.
    void commit();

private:
    QString m_finalPath;
    QString m_tempPath;
    bool m_committed = false;
};

} // namespace moravelt
