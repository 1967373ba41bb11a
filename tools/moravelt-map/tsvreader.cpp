#include "tsvreader.h"

#include <QFile>

namespace moravelt {

std::vector<TsvRow> TsvReader::read(const QString& path, const QStringList& header,
                                    const QList<int>& textColumns)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_diag.error({path, 1}, QStringLiteral("cannot read the file: %1").arg(file.errorString()));
        return {};
    }
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));

    std::vector<TsvRow> rows;
    bool headerSeen = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const SourceRef at{path, int(i + 1)};
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.contains(QChar(QChar::ReplacementCharacter))) {
            m_diag.error(at, QStringLiteral("not valid UTF-8"));
            continue;
        }
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (!headerSeen) {
            headerSeen = true;
            if (fields != header)
                m_diag.error(at, QStringLiteral("the header must be \"%1\"")
                                     .arg(header.join(QStringLiteral("<TAB>"))));
            continue;
        }
        if (fields.size() != header.size()) {
            m_diag.error(at, QStringLiteral("expected %1 columns, found %2")
                                 .arg(header.size())
                                 .arg(fields.size()));
            continue;
        }
        TsvRow row{at, fields};
        checkFields(row, header, textColumns);
        rows.push_back(std::move(row));
    }
    if (!headerSeen)
        m_diag.error({path, 1}, QStringLiteral("the file has no header line"));
    return rows;
}

void TsvReader::checkFields(const TsvRow& row, const QStringList& header,
                            const QList<int>& textColumns)
{
    for (int c = 0; c < row.fields.size(); ++c) {
        const QString& field = row.fields[c];
        const QString& column = header[c];
        if (field.isEmpty()) {
            m_diag.error(row.at, QStringLiteral("%1 is empty").arg(column));
            continue;
        }
        if (field != field.trimmed())
            m_diag.error(row.at, QStringLiteral("stray spaces around %1").arg(column));
        // Query texts quote names with apostrophes, so none may appear anywhere.
        if (field.contains(QLatin1Char('\'')))
            m_diag.error(row.at, QStringLiteral("forbidden character \"'\" in %1").arg(column));
        // Route strings separate towns with "-" and "+".
        if (!textColumns.contains(c)) {
            for (QChar bad : {QLatin1Char('-'), QLatin1Char('+')}) {
                if (field.contains(bad))
                    m_diag.error(row.at, QStringLiteral("forbidden character \"%1\" in %2 "
                                                        "(use a full-width character)")
                                             .arg(bad)
                                             .arg(column));
            }
        }
    }
}

} // namespace moravelt
