#pragma once

#include <QByteArray>
#include <QImage>

// The pictures and sounds of the sample machine, drawn and synthesised here so that
// the sample needs nothing from outside. Everything is drawn without antialiasing and
// computed in whole numbers: the same program writes the same bytes on every machine.
namespace artwork {

constexpr int SymbolWidth = 72;
constexpr int SymbolHeight = 36;

enum class SymbolLook { Lit, Unlit, Flash };

// Symbols 0..6: 赤7, 青7, BAR, ベル, スイカ, チェリー, リプレイ.
QImage symbol(int index, SymbolLook look);

// The cabinet, with every lamp and button dark or lit.
QImage cabinet(bool lit);
constexpr int CabinetWidth = 320;
constexpr int CabinetHeight = 440;

// The digits 0 to 9 in seven segments, left to right, DigitWidth x DigitHeight each.
QImage digits();
constexpr int DigitWidth = 16;
constexpr int DigitHeight = 24;

// A BMP file of the picture, with a colour table when it has 256 colours or fewer.
QByteArray bmp(const QImage& image);

// A short two-note chime: 22050 Hz, 16-bit mono PCM, 300 ms.
QByteArray chimeWav();
// A short fanfare: a format 0 Standard MIDI File, one track, about two seconds.
QByteArray fanfareMidi();

}  // namespace artwork
