// SPDX-License-Identifier: MIT

#include "tsvreader.h"

#include <QFile>
#include <QStringDecoder>

namespace moravelt {

namespace {

int lineOf(const QString& text, qsizetype index)
{
    return int(QStringView(text).left(index).count(QLatin1Char('\n'))) + 1;
}

} // namespace

QString TsvReader::readText(const QString& path, const QStringList& header)
{
    const auto fault = [&](int line, const QString& message) {
        m_diag.error({path, line}, message);
        return QString();
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fault(1, QStringLiteral("cannot read the file: %1").arg(file.errorString()));
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return fault(1, QStringLiteral("the file is UTF-16; save it as UTF-8"));
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        const qsizetype bad = text.indexOf(QChar(QChar::ReplacementCharacter));
        return fault(lineOf(text, std::max<qsizetype>(bad, 0)),
                     QStringLiteral("not valid UTF-8; save the table as UTF-8"));
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (const qsizetype nul = text.indexOf(QChar(0)); nul >= 0)
        return fault(lineOf(text, nul), QStringLiteral("a NUL character: this is no text table"));
    for (qsizetype cr = text.indexOf(QLatin1Char('\r')); cr >= 0;
         cr = text.indexOf(QLatin1Char('\r'), cr + 1)) {
        if (cr + 1 == text.size() || text[cr + 1] != QLatin1Char('\n'))
            return fault(lineOf(text, cr),
                         QStringLiteral("a line ends in CR alone; save the table with LF or "
                                        "CR LF line endings"));
    }
    if (text.trimmed().isEmpty())
        return fault(1, QStringLiteral("the file is empty; its first line must be the header "
                                       "\"%1\"")
                            .arg(header.join(QStringLiteral("<TAB>"))));
    return text;
}

TsvTable TsvReader::read(const QString& path, const QStringList& header,
                         const QList<int>& textColumns, Rows required)
{
    const QString text = readText(path, header);
    if (text.isNull())
        return {{}, false};
    const QStringList lines = text.split(QLatin1Char('\n'));

    TsvTable table;
    bool headerSeen = false;
    int dataLines = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const SourceRef at{path, int(i + 1)};
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (!headerSeen) {
            headerSeen = true;
            if (fields != header) {
                m_diag.error(at, QStringLiteral("the header must be \"%1\"; the table's rows "
                                                "were not read")
                                     .arg(header.join(QStringLiteral("<TAB>"))));
                return {{}, false};
            }
            continue;
        }
        ++dataLines;
        if (fields.size() != header.size()) {
            m_diag.error(at, QStringLiteral("expected %1 columns, found %2")
                                 .arg(header.size())
                                 .arg(fields.size()));
            continue;
        }
        TsvRow row{at, fields};
        checkFields(row, header, textColumns);
        table.rows.push_back(std::move(row));
    }
    if (!headerSeen) {
        m_diag.error({path, 1}, QStringLiteral("the file has no header line"));
        table.sound = false;
    } else if (required == Rows::Required && dataLines == 0) {
        m_diag.error({path, 1}, QStringLiteral("the table has no rows; the world needs at least "
                                               "one"));
        table.sound = false;
    }
    return table;
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
