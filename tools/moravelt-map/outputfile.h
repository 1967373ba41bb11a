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
    const QString& finalPath() const { return m_finalPath; }
    // Replaces the final file; throws MoraveltError.
    void commit();

private:
    QString m_finalPath;
    QString m_tempPath;
    bool m_committed = false;
};

} // namespace moravelt
