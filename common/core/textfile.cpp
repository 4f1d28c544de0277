#include "textfile.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "sjis.h"

// ---- TextWriter ----
// A line is written straight into the buffer's spare room: room for the longest possible
// line is made first, then the size is set back to what was written. Large texts (the
// control file has hundreds of thousands of lines) stay fast this way.

namespace {

constexpr qsizetype MaxNumberChars = 12;  // "-2147483648" and a separator

char* putNumber(char* out, std::int32_t value) {
    return std::to_chars(out, out + MaxNumberChars, value).ptr;
}

char* putSpaced(char* out, std::int32_t value) {
    if (value < 0) {
        *out++ = '-';
        // The sign takes its own position; the digits follow without it.
        out = std::to_chars(out, out + MaxNumberChars, -static_cast<std::int64_t>(value)).ptr;
    } else {
        *out++ = ' ';
        out = putNumber(out, value);
    }
    *out++ = ' ';
    return out;
}

}  // namespace

char* TextWriter::begin(qsizetype maxChars) {
    const qsizetype used = bytes_.size();
    if (bytes_.capacity() < used + maxChars + 2)
        bytes_.reserve(std::max(bytes_.capacity() * 2, used + maxChars + 2 + 4096));
    bytes_.resize(used + maxChars + 2);
    return bytes_.data() + used;
}

void TextWriter::end(char* out) {
    *out++ = '\r';
    *out++ = '\n';
    bytes_.resize(out - bytes_.constData());
}

void TextWriter::commaLine(std::initializer_list<CommaField> fields) {
    bool first = true;
    for (const CommaField& field : fields) {
        if (!first) bytes_.append(',');
        first = false;
        if (const auto* number = std::get_if<std::int32_t>(&field.value())) {
            char buffer[MaxNumberChars];
            bytes_.append(buffer, putNumber(buffer, *number) - buffer);
        } else {
            bytes_.append('"');
            bytes_.append(sjis::fromUnicode(std::get<QString>(field.value())));
            bytes_.append('"');
        }
    }
    bytes_.append("\r\n", 2);
}

template <typename T>
static char* putCommaNumbers(char* out, const T& values) {
    bool first = true;
    for (auto v : values) {
        if (!first) *out++ = ',';
        first = false;
        out = putNumber(out, v);
    }
    return out;
}

void TextWriter::commaNumbers(std::span<const std::int16_t> values) {
    end(putCommaNumbers(begin(static_cast<qsizetype>(values.size()) * MaxNumberChars), values));
}

void TextWriter::commaNumbers(std::initializer_list<std::int32_t> values) {
    end(putCommaNumbers(begin(static_cast<qsizetype>(values.size()) * MaxNumberChars), values));
}

template <typename T>
static char* putSpacedNumbers(char* out, const T& values) {
    for (auto v : values) out = putSpaced(out, v);
    return out;
}

void TextWriter::spacedLine(std::span<const std::int16_t> values) {
    end(putSpacedNumbers(begin(static_cast<qsizetype>(values.size()) * (MaxNumberChars + 2)),
                         values));
}

void TextWriter::spacedLine(std::span<const std::int32_t> values) {
    end(putSpacedNumbers(begin(static_cast<qsizetype>(values.size()) * (MaxNumberChars + 2)),
                         values));
}

void TextWriter::spacedLine(std::initializer_list<std::int32_t> values) {
    end(putSpacedNumbers(begin(static_cast<qsizetype>(values.size()) * (MaxNumberChars + 2)),
                         values));
}

void TextWriter::rawLine(const QString& text) {
    bytes_.append(sjis::fromUnicode(text));
    bytes_.append("\r\n", 2);
}

void TextWriter::rawLine(const char* ascii) {
    bytes_.append(ascii);
    bytes_.append("\r\n", 2);
}

// ---- FieldReader ----

FieldReader::FieldReader(QByteArray bytes)
    : bytes_(std::move(bytes)), data_(bytes_.constData()), size_(bytes_.size()) {}

void FieldReader::consumeLineEnd() {
    if (pos_ < size_ && data_[pos_] == '\r') {
        ++pos_;
        if (pos_ < size_ && data_[pos_] == '\n') ++pos_;
    } else if (pos_ < size_ && data_[pos_] == '\n') {
        ++pos_;
    }
    ++currentLine_;
}

void FieldReader::skipSeparator() {
    while (pos_ < size_ && data_[pos_] == ' ') ++pos_;
    if (pos_ >= size_) return;
    if (data_[pos_] == ',')
        ++pos_;
    else if (isLineEnd(pos_))
        consumeLineEnd();
}

bool FieldReader::nextField(qsizetype& begin, qsizetype& end, bool& quoted, bool numberField) {
    if (pos_ >= size_) {
        fieldLine_ = currentLine_;
        error_ = FieldError::MissingField;
        return false;
    }
    while (pos_ < size_ && data_[pos_] == ' ') ++pos_;
    fieldLine_ = currentLine_;
    quoted = pos_ < size_ && data_[pos_] == '"';
    if (quoted) {
        begin = ++pos_;
        while (pos_ < size_ && data_[pos_] != '"') {
            if (data_[pos_] == '\n' ||
                (data_[pos_] == '\r' && !(pos_ + 1 < size_ && data_[pos_ + 1] == '\n')))
                ++currentLine_;
            ++pos_;
        }
        end = pos_;
        if (pos_ < size_) ++pos_;  // closing quote
        // Anything after the closing quote up to the comma or line end is dropped.
        while (pos_ < size_ && data_[pos_] != ',' && !isLineEnd(pos_)) ++pos_;
    } else {
        begin = pos_;
        if (numberField) {
            while (pos_ < size_ && data_[pos_] != ' ' && data_[pos_] != ',' && !isLineEnd(pos_))
                ++pos_;
        } else {
            while (pos_ < size_ && data_[pos_] != ',' && !isLineEnd(pos_)) ++pos_;
        }
        end = pos_;
    }
    skipSeparator();
    return true;
}

std::optional<QString> FieldReader::text() {
    qsizetype begin = 0, end = 0;
    bool quoted = false;
    if (!nextField(begin, end, quoted, false)) return std::nullopt;
    error_ = FieldError::None;
    return sjis::toUnicode(data_ + begin, end - begin);
}

bool FieldReader::skip() { return text().has_value(); }

std::optional<std::int64_t> FieldReader::number(std::int64_t min, std::int64_t max) {
    qsizetype begin = 0, end = 0;
    bool quoted = false;
    if (!nextField(begin, end, quoted, true)) return std::nullopt;
    const char* p = data_ + begin;
    const char* e = data_ + end;
    // The quotes of a field are taken off before it is read, so "2070" is the number 2070.
    bool negative = false;
    if (p < e && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    std::int64_t value = 0;
    bool ok = p < e;
    for (const char* q = p; ok && q < e; ++q) {
        if (*q < '0' || *q > '9') {
            ok = false;
            break;
        }
        if (value < 10'000'000'000LL) value = value * 10 + (*q - '0');
    }
    if (!ok) {
        error_ = FieldError::NotANumber;
        badText_ = sjis::toUnicode(data_ + begin, end - begin);
        return std::nullopt;
    }
    if (negative) value = -value;
    if (value < min || value > max) {
        error_ = FieldError::OutOfRange;
        badText_ = sjis::toUnicode(data_ + begin, end - begin);
        return std::nullopt;
    }
    error_ = FieldError::None;
    return value;
}

std::optional<std::int16_t> FieldReader::int16() {
    auto v = number(INT16_MIN, INT16_MAX);
    if (!v) return std::nullopt;
    return static_cast<std::int16_t>(*v);
}

std::optional<std::int32_t> FieldReader::int32() {
    auto v = number(INT32_MIN, INT32_MAX);
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

bool FieldReader::readText(QString& out) {
    auto v = text();
    if (v) out = *v;
    return v.has_value();
}

bool FieldReader::readInt16(std::int16_t& out) {
    auto v = int16();
    if (v) out = *v;
    return v.has_value();
}

bool FieldReader::readInt32(std::int32_t& out) {
    auto v = int32();
    if (v) out = *v;
    return v.has_value();
}

QString FieldReader::errorString() const {
    const QString where = QStringLiteral("%1 行目: ").arg(fieldLine_);
    switch (error_) {
        case FieldError::None:
            return {};
        case FieldError::MissingField:
            return where + QStringLiteral("ファイルが途中で終わっています。");
        case FieldError::NotANumber:
            return where + QStringLiteral("数値が必要な所に「%1」があります。")
                               .arg(sjis::forDisplay(badText_));
        case FieldError::OutOfRange:
            return where + QStringLiteral("数値「%1」が範囲を超えています。")
                               .arg(sjis::forDisplay(badText_));
    }
    return {};
}

qsizetype FieldReader::remainingLines() const {
    const char* begin = data_ + pos_;
    const char* end = data_ + size_;
    qsizetype lines = std::count(begin, end, '\n');
    // A CR not followed by LF ends a line too (rare: look only when there are CRs at all).
    for (const char* p = begin;
         (p = static_cast<const char*>(std::memchr(p, '\r', end - p))) != nullptr; ++p)
        if (p + 1 >= end || p[1] != '\n') ++lines;
    if (size_ > pos_ && data_[size_ - 1] != '\n' && data_[size_ - 1] != '\r') ++lines;
    return lines;
}
