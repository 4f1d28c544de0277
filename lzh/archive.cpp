#include "archive.h"

#include <lhasa.h>

#include <QDateTime>
#include <algorithm>
#include <climits>
#include <cstring>

#include "crc16.h"
#include "lh5encoder.h"
#include "lhdecoder.h"
#include "savefile.h"
#include "sjis.h"

namespace lzh {
namespace {

QString damaged(const QString& why) {
    return QStringLiteral("書庫が壊れています（%1）。").arg(why);
}

// liblhasa reads through callbacks; this one serves the archive from memory.
struct MemoryStream {
    const unsigned char* data;
    std::size_t size;
    std::size_t pos;
};

int memoryRead(void* handle, void* buf, std::size_t len) {
    auto* s = static_cast<MemoryStream*>(handle);
    const std::size_t n = std::min({len, s->size - s->pos, static_cast<std::size_t>(INT_MAX)});
    if (n) std::memcpy(buf, s->data + s->pos, n);
    s->pos += n;
    return static_cast<int>(n);
}

// Without a skip callback liblhasa skips by reading, and loops for ever at the end of
// the data; so skipping is ours, and past the end it fails.
int memorySkip(void* handle, std::size_t bytes) {
    auto* s = static_cast<MemoryStream*>(handle);
    if (bytes > s->size - s->pos) {
        s->pos = s->size;
        return 0;
    }
    s->pos += bytes;
    return 1;
}

const LHAInputStreamType kMemoryStreamType = {memoryRead, memorySkip, nullptr};

class Reading {
public:
    explicit Reading(const QByteArray& bytes)
        : mem_{reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<std::size_t>(bytes.size()), 0} {
        stream_ = lha_input_stream_new(&kMemoryStreamType, &mem_);
        if (stream_) reader_ = lha_reader_new(stream_);
        if (reader_) lha_reader_set_dir_policy(reader_, LHA_READER_DIR_PLAIN);
    }
    ~Reading() {
        if (reader_) lha_reader_free(reader_);
        if (stream_) lha_input_stream_free(stream_);
    }
    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;

    bool ok() const { return reader_ != nullptr; }
    LHAFileHeader* next() { return lha_reader_next_file(reader_); }
    // Where the stream stands: right after a header just returned, its data starts here.
    std::size_t position() const { return mem_.pos; }
    std::size_t size() const { return mem_.size; }

private:
    MemoryStream mem_;
    LHAInputStream* stream_ = nullptr;
    LHAReader* reader_ = nullptr;
};

bool isDirectory(const LHAFileHeader* h) { return std::strcmp(h->compress_method, "-lhd-") == 0; }

QString memberName(const LHAFileHeader* h) {
    QByteArray raw;
    if (h->path) raw += h->path;
    if (h->filename) raw += h->filename;
    return sjis::toUnicode(raw);
}

// ---------------------------------------------------------------------------------------
void put16(QByteArray& b, qsizetype at, unsigned v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void put32(QByteArray& b, qsizetype at, quint32 v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// A level 2 header: the fixed part, then the extended headers "common" (CRC-16 of the
// whole header), file name, and folder when the name has one.
bool appendMember(QByteArray& out, const Member& m, quint32 stamp, QString* error) {
    QString name = m.name;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const qsizetype cut = name.lastIndexOf(QLatin1Char('/'));
    const QByteArray file = sjis::fromUnicode(name.mid(cut + 1));
    QByteArray folder = cut >= 0 ? sjis::fromUnicode(name.left(cut + 1)) : QByteArray();
    // Folders are separated by 0xFF in the header; '/' is never part of a double-byte
    // character in code page 932, so the swap is safe.
    folder.replace('/', '\xFF');
    auto refuse = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (file.isEmpty())
        return refuse(QStringLiteral("書庫に入れるファイルの名前がありません: 「%1」").arg(m.name));
    if (file.size() > 60000 || folder.size() > 60000)
        return refuse(QStringLiteral("書庫に入れるファイルの名前が長すぎます。"));
    if (static_cast<quint64>(m.data.size()) > 0xFFFFFFFFull)
        return refuse(
            QStringLiteral("「%1」は 4 GiB を超えるので書庫に入れられません。").arg(m.name));

    const auto* raw = reinterpret_cast<const std::uint8_t*>(m.data.constData());
    const std::size_t size = static_cast<std::size_t>(m.data.size());
    std::vector<std::uint8_t> packed;
    const bool compressed = compressLh5(raw, size, packed);
    const std::size_t packedSize = compressed ? packed.size() : size;

    QByteArray h(24, '\0');
    std::memcpy(h.data() + 2, compressed ? "-lh5-" : "-lh0-", 5);
    put32(h, 7, static_cast<quint32>(packedSize));
    put32(h, 11, static_cast<quint32>(size));
    put32(h, 15, stamp);
    h[19] = 0x20;  // the archive attribute, as DOS archivers set it
    h[20] = 2;     // header level
    put16(h, 21, crc16(raw, size));
    h[23] = 'M';  // written for the simulator's Windows archiver

    const auto addExtended = [&h](char type, const QByteArray& payload) {
        const qsizetype at = h.size();
        h.resize(at + 3 + payload.size());
        put16(h, at, static_cast<unsigned>((3 + payload.size()) & 0xFFFF));
        h[at + 2] = type;
        std::memcpy(h.data() + at + 3, payload.constData(),
                    static_cast<std::size_t>(payload.size()));
        return at + 3;
    };
    const qsizetype crcAt = addExtended('\x00', QByteArray(2, '\0'));
    addExtended('\x01', file);
    if (!folder.isEmpty()) addExtended('\x02', folder);
    h.append(2, '\0');  // no further extended header
    // A header whose size has a zero low byte would read as the end of the archive in
    // older archivers; one byte of padding avoids that.
    if ((h.size() & 0xFF) == 0) h.append('\0');
    if (h.size() > 0xFFFF) return false;
    put16(h, 0, static_cast<unsigned>(h.size()));
    put16(h, crcAt, crc16(h.constData(), static_cast<std::size_t>(h.size())));

    out += h;
    if (compressed)
        out.append(reinterpret_cast<const char*>(packed.data()),
                   static_cast<qsizetype>(packed.size()));
    else
        out += m.data;
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------
bool Archive::openBytes(const QByteArray& bytes) {
    bytes_.clear();
    names_.clear();
    entries_.clear();
    error_.clear();
    if (bytes.isEmpty()) {
        error_ = QStringLiteral("書庫が空です（0バイト）。");
        return false;
    }
    Reading reading(bytes);
    if (!reading.ok()) {
        error_ = QStringLiteral("書庫を読む準備ができません（メモリー不足）。");
        return false;
    }
    QStringList names;
    QList<Entry> entries;
    int headers = 0;
    std::size_t end = 0;  // where the data of the last member read ends
    while (LHAFileHeader* h = reading.next()) {
        const std::size_t dataStart = reading.position();
        if (h->compressed_length > reading.size() - dataStart) {
            error_ = damaged(QStringLiteral("途中で切れています"));
            return false;
        }
        end = dataStart + h->compressed_length;
        if (++headers > kMaxMembers) {
            error_ = QStringLiteral("書庫のファイルが多すぎます（読むのは %1 個までです）。")
                         .arg(kMaxMembers);
            return false;
        }
        if (isDirectory(h)) continue;
        Entry e{};
        e.dataStart = static_cast<qsizetype>(dataStart);
        e.packedSize = static_cast<qsizetype>(h->compressed_length);
        e.size = h->length;
        e.crc = h->crc;
        std::memcpy(e.method, h->compress_method, sizeof e.method);
        e.method[5] = '\0';
        names.append(memberName(h));
        entries.append(e);
    }
    if (headers == 0) {
        error_ = QStringLiteral("LZH形式の書庫ではありません。");
        return false;
    }
    // After the last member comes the end of the data or the zero byte that ends an
    // archive; anything else is a header that could not be read.
    if (end < static_cast<std::size_t>(bytes.size()) && bytes[static_cast<qsizetype>(end)] != 0) {
        error_ = damaged(QStringLiteral("%1番目のファイルのヘッダーが読めません").arg(headers + 1));
        return false;
    }
    bytes_ = bytes;
    names_ = names;
    entries_ = entries;
    return true;
}

bool Archive::openFile(const QString& path) {
    QByteArray bytes;
    QString why;
    if (!readWholeFile(path, bytes, &why)) {
        bytes_.clear();
        names_.clear();
        entries_.clear();
        error_ = why;
        return false;
    }
    return openBytes(bytes);
}

QStringList Archive::memberNames() const { return names_; }

std::optional<QByteArray> Archive::read(const QString& name) {
    error_.clear();
    qsizetype at = names_.indexOf(name);
    // Archives made on DOS keep names in capitals, which are shown in lower case.
    for (qsizetype i = 0; i < names_.size() && at < 0; ++i)
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0) at = i;
    if (at < 0) {
        error_ = QStringLiteral("書庫に「%1」がありません。").arg(name);
        return std::nullopt;
    }
    const Entry& e = entries_.at(at);
    if (e.size > static_cast<quint64>(maxMemberSize_)) {
        error_ = QStringLiteral("書庫の「%1」が大きすぎます（%2バイト）。").arg(name).arg(e.size);
        return std::nullopt;
    }
    const auto length = static_cast<std::size_t>(e.size);
    const auto* packedData =
        reinterpret_cast<const std::uint8_t*>(bytes_.constData()) + e.dataStart;
    QByteArray out;
    // The methods archivers write most go through our own decoder when it takes the
    // stream; anything it leaves goes to liblhasa.
    if (const int dicBits = dictionaryBits(e.method)) {
        out.resize(static_cast<qsizetype>(length));
        if (decodeLh(dicBits, packedData, static_cast<std::size_t>(e.packedSize),
                     reinterpret_cast<std::uint8_t*>(out.data()), length)) {
            if (crc16(out.constData(), length) != e.crc) {
                error_ = damaged(QStringLiteral("「%1」のCRCが一致しません").arg(name));
                return std::nullopt;
            }
            return out;
        }
    }
    char method[sizeof e.method];
    std::memcpy(method, e.method, sizeof method);
    LHADecoderType* type = lha_decoder_for_name(method);
    if (!type) {
        error_ = QStringLiteral("書庫の「%1」は対応していない圧縮方式（%2）です。")
                     .arg(name, QString::fromLatin1(e.method));
        return std::nullopt;
    }
    MemoryStream packed{packedData, static_cast<std::size_t>(e.packedSize), 0};
    const auto feed = [](void* buf, std::size_t len, void* handle) -> std::size_t {
        auto* s = static_cast<MemoryStream*>(handle);
        const std::size_t n = std::min(len, s->size - s->pos);
        if (n) std::memcpy(buf, s->data + s->pos, n);
        s->pos += n;
        return n;
    };
    LHADecoder* decoder = lha_decoder_new(type, feed, &packed, length);
    if (!decoder) {
        error_ = QStringLiteral("書庫を読む準備ができません（メモリー不足）。");
        return std::nullopt;
    }
    out.resize(static_cast<qsizetype>(length));
    std::size_t got = 0;
    while (got < length) {
        const std::size_t n =
            lha_decoder_read(decoder, reinterpret_cast<uint8_t*>(out.data()) + got, length - got);
        if (n == 0) break;
        got += n;
    }
    const quint16 crc = lha_decoder_get_crc(decoder);
    lha_decoder_free(decoder);
    if (got != length) {
        error_ = damaged(QStringLiteral("「%1」を最後まで展開できません").arg(name));
        return std::nullopt;
    }
    if (crc != e.crc) {
        error_ = damaged(QStringLiteral("「%1」のCRCが一致しません").arg(name));
        return std::nullopt;
    }
    return out;
}

// ---------------------------------------------------------------------------------------
QByteArray writeArchive(const QList<Member>& members, QString* error) {
    return writeArchive(members, QDateTime::currentSecsSinceEpoch(), error);
}

QByteArray writeArchive(const QList<Member>& members, qint64 unixTime, QString* error) {
    const auto stamp = static_cast<quint32>(std::clamp<qint64>(unixTime, 0, 0xFFFFFFFFLL));
    QByteArray out;
    qsizetype total = 1;
    for (const Member& m : members) total += m.data.size() / 2 + 64;
    out.reserve(total);
    for (const Member& m : members) {
        if (!appendMember(out, m, stamp, error)) return {};
    }
    out.append('\0');  // end of the archive
    return out;
}

}  // namespace lzh
