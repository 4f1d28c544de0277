#include "artwork.h"

#include <QBuffer>
#include <QHash>
#include <QPainter>
#include <QPolygon>
#include <QtEndian>
#include <array>

namespace artwork {

namespace {

const QColor Cream(0xff, 0xf8, 0xe8);
const QColor FlashYellow(0xff, 0xf0, 0x40);
const QColor Ink(0x20, 0x20, 0x20);

// Aliased drawing only: every pixel is one of the colours named in the code.
struct Canvas {
    QImage image;
    QPainter p;
    Canvas(int w, int h, const QColor& background) : image(w, h, QImage::Format_RGB32), p() {
        image.fill(background);
        p.begin(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
    }
    ~Canvas() {
        if (p.isActive()) p.end();
    }
    void fill(const QRect& r, const QColor& c) { p.fillRect(r, c); }
    void shape(const QPolygon& poly, const QColor& fillColour, const QColor& edge) {
        p.setPen(edge);
        p.setBrush(fillColour);
        p.drawPolygon(poly);
    }
    void ellipse(const QRect& r, const QColor& fillColour, const QColor& edge) {
        p.setPen(edge);
        p.setBrush(fillColour);
        p.drawEllipse(r);
    }
    void frame(const QRect& r, const QColor& edge) {
        p.setPen(edge);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
    }
    QImage take() {
        p.end();
        return image;
    }
};

QPolygon seven(int dx) {
    return QPolygon({QPoint(18 + dx, 5), QPoint(54 + dx, 5), QPoint(54 + dx, 11),
                     QPoint(40 + dx, 31), QPoint(30 + dx, 31), QPoint(44 + dx, 12),
                     QPoint(18 + dx, 12)});
}

void drawSymbol(Canvas& c, int index) {
    switch (index) {
        case 0:  // 赤7
            c.shape(seven(0), QColor(0xe0, 0x10, 0x20), Ink);
            break;
        case 1:  // 青7
            c.shape(seven(0), QColor(0x20, 0x40, 0xd0), Ink);
            break;
        case 2:  // BAR
            c.fill(QRect(12, 9, 48, 18), Ink);
            c.fill(QRect(16, 13, 40, 10), QColor(0xff, 0xff, 0xff));
            c.fill(QRect(20, 16, 32, 4), Ink);
            break;
        case 3:  // ベル
            c.shape(QPolygon({QPoint(30, 5), QPoint(42, 5), QPoint(48, 14), QPoint(52, 27),
                              QPoint(20, 27), QPoint(24, 14)}),
                    QColor(0xf0, 0xc0, 0x10), Ink);
            c.ellipse(QRect(32, 26, 8, 6), QColor(0xa0, 0x70, 0x10), Ink);
            break;
        case 4:  // スイカ
            c.p.setPen(Ink);
            c.p.setBrush(QColor(0x20, 0x90, 0x30));
            c.p.drawChord(QRect(14, -14, 44, 44), 180 * 16, 180 * 16);
            c.p.setBrush(QColor(0xe8, 0x30, 0x40));
            c.p.drawChord(QRect(19, -9, 34, 34), 180 * 16, 180 * 16);
            for (int x : {26, 35, 44}) c.fill(QRect(x, 14, 2, 3), Ink);
            break;
        case 5:  // チェリー
            c.p.setPen(QPen(QColor(0x20, 0x80, 0x20), 2));
            c.p.drawLine(28, 20, 40, 5);
            c.p.drawLine(46, 21, 40, 5);
            c.ellipse(QRect(20, 18, 15, 14), QColor(0xd0, 0x10, 0x30), Ink);
            c.ellipse(QRect(39, 19, 15, 14), QColor(0xd0, 0x10, 0x30), Ink);
            break;
        case 6:  // リプレイ
            c.p.setPen(QPen(QColor(0x10, 0x70, 0xd0), 4));
            c.p.setBrush(Qt::NoBrush);
            c.p.drawEllipse(QRect(24, 6, 24, 24));
            c.shape(QPolygon({QPoint(44, 2), QPoint(54, 10), QPoint(42, 14)}),
                    QColor(0x10, 0x70, 0xd0), QColor(0x10, 0x70, 0xd0));
            break;
        default:
            break;
    }
    c.frame(QRect(0, 0, SymbolWidth - 1, SymbolHeight - 1), QColor(0xb0, 0xa8, 0x98));
}

// The unlit look: every colour at 40 %.
QImage darkened(const QImage& lit) {
    QImage out = lit;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = qRgb(qRed(line[x]) * 2 / 5, qGreen(line[x]) * 2 / 5, qBlue(line[x]) * 2 / 5);
    }
    return out;
}

// Whole numbers in the byte order of the file: little-endian in RIFF, big-endian in MIDI.
template <typename T>
void putLE(QByteArray& b, T v) {
    char d[sizeof(T)];
    qToLittleEndian<T>(v, d);
    b.append(d, sizeof(T));
}
template <typename T>
void putBE(QByteArray& b, T v) {
    char d[sizeof(T)];
    qToBigEndian<T>(v, d);
    b.append(d, sizeof(T));
}

}  // namespace

QImage symbol(int index, SymbolLook look) {
    Canvas c(SymbolWidth, SymbolHeight, look == SymbolLook::Flash ? FlashYellow : Cream);
    drawSymbol(c, index);
    const QImage lit = c.take();
    return look == SymbolLook::Unlit ? darkened(lit) : lit;
}

QImage cabinet(bool lit) {
    const QColor body(0x3a, 0x3f, 0x55), panel(0x20, 0x23, 0x2f), black(0, 0, 0);
    const QColor lampOff(0x55, 0x40, 0x30), lampOn(0xff, 0xb0, 0x30);
    const QColor buttonOff(0x50, 0x60, 0x80), buttonOn(0x90, 0xd0, 0xff);
    const QColor lamp = lit ? lampOn : lampOff, button = lit ? buttonOn : buttonOff;
    Canvas c(CabinetWidth, CabinetHeight, body);
    c.fill(QRect(8, 8, 304, 84), panel);  // the lamp panel
    for (int i = 0; i < 5; ++i) c.fill(QRect(20 + 58 * i, 20, 48, 20), lamp);
    for (int i = 0; i < 3; ++i) c.fill(QRect(20 + 58 * i, 56, 48, 16), lamp);
    c.fill(QRect(30, 100, 260, 130), black);  // the reel window
    for (int r = 0; r < 3; ++r) c.fill(QRect(46 + 78 * r, 112, 72, 108), QColor(0xff, 0xff, 0xff));
    for (int i = 0; i < 5; ++i) c.fill(QRect(10, 116 + 21 * i, 14, 14), lamp);  // BET lamps
    c.fill(QRect(26, 236, 256, 32), black);                                     // the displays
    for (int i = 0; i < 5; ++i) c.frame(QRect(30 + 54 * i, 240, 31, 23), QColor(0x60, 0x10, 0x10));
    c.fill(QRect(250, 290, 40, 10), black);  // medal slot
    c.frame(QRect(250, 290, 39, 9), button);
    c.fill(QRect(30, 290, 40, 20), button);  // credit, 1BET, 2BET, MAXBET
    c.fill(QRect(80, 290, 30, 20), button);
    c.fill(QRect(116, 290, 30, 20), button);
    c.fill(QRect(152, 290, 50, 20), button);
    for (int r = 0; r < 3; ++r) {
        c.fill(QRect(60 + 78 * r, 350, 44, 7), lamp);     // stop lamps
        c.fill(QRect(60 + 78 * r, 362, 44, 30), button);  // stop buttons
    }
    c.fill(QRect(14, 350, 28, 60), button);  // start lever
    c.fill(QRect(8, 420, 304, 12), panel);
    return c.take();
}

QImage digits() {
    const QColor on(0xff, 0x50, 0x20);
    Canvas c(DigitWidth * 10, DigitHeight, QColor(0, 0, 0));
    // Segments a to g of one digit cell.
    const std::array<QRect, 7> segments{QRect(4, 2, 8, 3),  QRect(12, 4, 3, 8), QRect(12, 13, 3, 8),
                                        QRect(4, 20, 8, 3), QRect(1, 13, 3, 8), QRect(1, 4, 3, 8),
                                        QRect(4, 11, 8, 3)};
    const std::array<int, 10> lit{0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f};
    for (int d = 0; d < 10; ++d)
        for (int s = 0; s < 7; ++s)
            if (lit[d] & (1 << s)) c.fill(segments[s].translated(d * DigitWidth, 0), on);
    return c.take();
}

QByteArray bmp(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    // The colour table in the order the colours first appear, so the file never varies.
    QList<QRgb> table;
    QHash<QRgb, int> index;
    for (int y = 0; y < out.height() && table.size() <= 256; ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb c = out.pixel(x, y) | 0xff000000u;
            if (!index.contains(c)) {
                index.insert(c, int(table.size()));
                table.append(c);
            }
        }
    if (table.size() <= 256) {
        QImage indexed(out.size(), QImage::Format_Indexed8);
        indexed.setColorTable(table);
        for (int y = 0; y < out.height(); ++y) {
            uchar* line = indexed.scanLine(y);
            for (int x = 0; x < out.width(); ++x)
                line[x] = uchar(index.value(out.pixel(x, y) | 0xff000000u));
        }
        out = indexed;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    out.save(&buffer, "BMP");
    return bytes;
}

QByteArray chimeWav() {
    constexpr int Rate = 22050;
    constexpr int Samples = Rate * 3 / 10;
    constexpr int FirstNote = Rate / 10;  // 100 ms
    QByteArray pcm;
    for (int i = 0; i < Samples; ++i) {
        // A triangle wave: period 20 samples (1102 Hz), then 15 (1470 Hz), fading out.
        const int period = i < FirstNote ? 20 : 15;
        const int q = i % period;
        const int half = period / 2;
        const int tri = q < half ? 2 * q - half : 3 * half - 2 * q;  // -half..half
        const int attack = std::min(i, 110);
        const int amplitude = 12000 * attack / 110 * (Samples - i) / Samples;
        putLE<quint16>(pcm, tri * amplitude / half);
    }
    QByteArray b("RIFF");
    putLE<quint32>(b, quint32(4 + 8 + 16 + 8 + pcm.size()));
    b.append("WAVE");
    b.append("fmt ");
    putLE<quint32>(b, 16);
    putLE<quint16>(b, 1);  // PCM
    putLE<quint16>(b, 1);  // mono
    putLE<quint32>(b, Rate);
    putLE<quint32>(b, Rate * 2);
    putLE<quint16>(b, 2);
    putLE<quint16>(b, 16);
    b.append("data");
    putLE<quint32>(b, quint32(pcm.size()));
    b.append(pcm);
    return b;
}

QByteArray fanfareMidi() {
    QByteArray track;
    auto delta = [&](int ticks) {
        // Variable-length quantity.
        QByteArray v;
        v.prepend(char(ticks & 0x7f));
        for (ticks >>= 7; ticks > 0; ticks >>= 7) v.prepend(char(0x80 | (ticks & 0x7f)));
        track.append(v);
    };
    auto event = [&](int ticks, std::initializer_list<int> bytes) {
        delta(ticks);
        for (int b : bytes) track.append(char(b));
    };
    event(0, {0xff, 0x51, 0x03, 0x07, 0xa1, 0x20});  // 120 beats a minute
    event(0, {0xc0, 56});                            // trumpet
    // C5 E5 G5 C6, eighths; G5 an eighth, C6 a half note.
    const int notes[][2] = {{72, 48}, {76, 48}, {79, 48}, {84, 96}, {79, 48}, {84, 192}};
    for (const auto& n : notes) {
        event(0, {0x90, n[0], 100});
        event(n[1], {0x80, n[0], 64});
    }
    event(0, {0xff, 0x2f, 0x00});  // end of track

    QByteArray b("MThd");
    putBE<quint32>(b, 6);
    putBE<quint16>(b, 0);   // format 0
    putBE<quint16>(b, 1);   // one track
    putBE<quint16>(b, 96);  // ticks a quarter note
    b.append("MTrk");
    putBE<quint32>(b, quint32(track.size()));
    b.append(track);
    return b;
}

}  // namespace artwork
