// SPDX-License-Identifier: MIT

#include "settings/savedatacodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>
#include <limits>

namespace moravelt::SaveDataCodec {

namespace {

constexpr const char* kCodePage = "windows-31j";

class Writer
{
public:
    template <typename T> void put(T value)
    {
        char bytes[sizeof(T)];
        qToLittleEndian(value, bytes);
        m_out.append(bytes, sizeof(T));
    }
    void putText(const QString& text)
    {
        // The count is 16 bits wide; a longer text is cut at a character boundary.
        const QByteArray bytes = toCp932(text, std::numeric_limits<std::uint16_t>::max());
        put(std::uint16_t(bytes.size()));
        m_out.append(bytes);
    }
    QByteArray bytes() const { return m_out; }

private:
    QByteArray m_out;
};

class Reader
{
public:
    explicit Reader(const QByteArray& in) : m_in(in) {}
    template <typename T> bool get(T& value)
    {
        if (m_in.size() - m_pos < qsizetype(sizeof(T)))
            return false;
        value = qFromLittleEndian<T>(m_in.constData() + m_pos);
        m_pos += sizeof(T);
        return true;
    }
    bool getText(QString& text)
    {
        std::uint16_t count = 0;
        if (!get(count) || m_in.size() - m_pos < count)
            return false;
        text = fromCp932(m_in.mid(m_pos, count));
        m_pos += count;
        return true;
    }

private:
    const QByteArray& m_in;
    qsizetype m_pos = 0;
};

} // namespace

QByteArray toCp932(const QString& text, qsizetype limit)
{
    QStringEncoder whole(kCodePage);
    QByteArray bytes = whole.encode(text);
    if (!whole.hasError() && bytes.size() <= limit)
        return bytes;
    // One character at a time: the converter's own substitute is not the "?" that the file
    // holds for a character code page 932 lacks, and a cut must fall between characters.
    bytes.clear();
    const QStringView rest(text);
    for (qsizetype i = 0; i < rest.size();) {
        const bool pair =
            rest[i].isHighSurrogate() && i + 1 < rest.size() && rest[i + 1].isLowSurrogate();
        QStringView one = rest.mid(i, pair ? 2 : 1);
        i += one.size();
        QByteArray encoded("?");
        if (!one.front().isSurrogate()) {
            // The wave dash as Linux input methods type it; Windows programs store the
            // full-width tilde (81 60) that code page 932 reads back as this character.
            if (one.front() == QChar(0x301C))
                one = u"\uFF5E";
            QStringEncoder single(kCodePage);
            const QByteArray b = single.encode(one);
            if (!single.hasError())
                encoded = b;
        }
        if (bytes.size() + encoded.size() > limit)
            break;
        bytes += encoded;
    }
    return bytes;
}

QString fromCp932(const QByteArray& bytes)
{
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

QByteArray encode(const SaveData& d)
{
    Writer w;
    for (std::int32_t v : {d.ImgLeft, d.ImgTop, d.Frm1Left, d.Frm1Top, d.Frm1Width, d.Frm1Height,
                           d.Frm2Left, d.Frm2Top, d.Frm2Width, d.Frm2Height})
        w.put(v);
    w.put(d.AnsCheck);
    for (std::int32_t v : {d.Frm3Left, d.Frm3Top, d.Frm3Width, d.Frm3Height})
        w.put(v);
    w.putText(d.DepartText);
    w.putText(d.DestText);
    w.put(d.SeidoLevel);
    return w.bytes();
}

std::optional<SaveData> decode(const QByteArray& bytes)
{
    Reader r(bytes);
    SaveData d;
    const bool whole = r.get(d.ImgLeft) && r.get(d.ImgTop) && r.get(d.Frm1Left) &&
                       r.get(d.Frm1Top) && r.get(d.Frm1Width) && r.get(d.Frm1Height) &&
                       r.get(d.Frm2Left) && r.get(d.Frm2Top) && r.get(d.Frm2Width) &&
                       r.get(d.Frm2Height) && r.get(d.AnsCheck) && r.get(d.Frm3Left) &&
                       r.get(d.Frm3Top) && r.get(d.Frm3Width) && r.get(d.Frm3Height) &&
                       r.getText(d.DepartText) && r.getText(d.DestText) && r.get(d.SeidoLevel);
    if (!whole || d.SeidoLevel < 0 || d.SeidoLevel > 4)
        return std::nullopt;
    return d;
}

} // namespace moravelt::SaveDataCodec
