#include "sjis.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace {

// U+EF00 + byte stands for a byte that does not decode; in UTF-8 that is EE, BC to BF, and
// a continuation byte.
constexpr unsigned char KeptByteUtf8Lead = 0xEE;

bool isAscii(const char* data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80) return false;
    return true;
}

// One conversion descriptor per direction and call: iconv keeps shift state, and
// the programs are single-threaded, but a fresh descriptor keeps each call independent.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

}  // namespace

namespace sjis {

QByteArray fromUnicode(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (isAscii(utf8.constData(), utf8.size())) return utf8;
    Iconv conv("CP932", "UTF-8");
    if (!conv.ok()) return text.toLatin1();
    QByteArray out;
    out.reserve(utf8.size() * 2);
    char buffer[4096];
    char* in = const_cast<char*>(utf8.constData());
    size_t inLeft = static_cast<size_t>(utf8.size());
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr - buffer);
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            auto lead = static_cast<unsigned char>(*in);
            size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            if (len > inLeft) len = inLeft;
            // A byte kept from a file goes back as it was; any other character code page
            // 932 lacks (or broken UTF-8) is written as '?'.
            if (len == 3 && lead == KeptByteUtf8Lead &&
                (static_cast<unsigned char>(in[1]) & 0xFC) == 0xBC)
                out.append(static_cast<char>((static_cast<unsigned char>(in[1]) & 0x03) << 6 |
                                             (static_cast<unsigned char>(in[2]) & 0x3F)));
            else
                out.append('?');
            in += len;
            inLeft -= len;
        }
    }
    return out;
}

QString toUnicode(const char* data, qsizetype size) {
    if (isAscii(data, size)) return QString::fromLatin1(data, size);
    Iconv conv("UTF-8", "CP932");
    if (!conv.ok()) return QString::fromLatin1(data, size);
    QByteArray out;
    out.reserve(size * 3);
    char buffer[4096];
    char* in = const_cast<char*>(data);
    size_t inLeft = static_cast<size_t>(size);
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr - buffer);
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            // A byte that does not decode (a lone or broken double-byte lead, 0x80, 0xA0,
            // 0xFD to 0xFF) is kept as its private-use character, so it is written back.
            const auto byte = static_cast<unsigned char>(*in);
            const char kept[3] = {static_cast<char>(KeptByteUtf8Lead),
                                  static_cast<char>(0xBC | byte >> 6),
                                  static_cast<char>(0x80 | (byte & 0x3F))};
            out.append(kept, 3);
            ++in;
            --inLeft;
        }
    }
    return QString::fromUtf8(out);
}

bool isRepresentable(const QString& text) {
    const QByteArray bytes = fromUnicode(text);
    return toUnicode(bytes) == text;
}

QString forDisplay(const QString& text, int maxChars) {
    // "<0x12>": a backslash reads as a yen sign in Japanese fonts.
    auto hex = [](int byte) {
        return QStringLiteral("<0x%1>").arg(
            QString::number(byte, 16).toUpper().rightJustified(2, u'0'));
    };
    QString out;
    int shown = 0;
    for (QChar c : text) {
        if (shown == maxChars) {
            if (!out.isEmpty() && out.back().isHighSurrogate()) out.chop(1);  // half a character
            out += u'…';
            break;
        }
        const char16_t u = c.unicode();
        if (u >= FirstKeptByte && u <= LastKeptByte) {
            out += hex(u - FirstKeptByte);
        } else if (u < 0x20 || (u >= 0x7F && u < 0xA0)) {
            out += hex(u);
        } else if (c.category() == QChar::Other_PrivateUse) {
            // The user-defined characters of code page 932 (lead bytes F0 to F9): no font
            // has them, so their bytes are shown.
            const QByteArray bytes = fromUnicode(QString(c));
            if (bytes != "?")
                for (char b : bytes) out += hex(static_cast<unsigned char>(b));
            else
                out += QStringLiteral("<U+%1>").arg(QString::number(u, 16).toUpper());
        } else {
            out += c;
        }
        ++shown;
    }
    return out;
}

QString cutTextIn(QString message, const QString& text, int maxChars) {
    if (text.isEmpty()) return message;
    const QString shown = forDisplay(text, maxChars);
    return shown == text ? message : message.replace(text, shown);
}

}  // namespace sjis
