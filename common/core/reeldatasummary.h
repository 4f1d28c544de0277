#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

#include "reeltypes.h"

// What the control and spec editors take from a reel data file: the lit picture names,
// the reel arrangement and, when the file has them, the prize entries.
struct ReelDataSummary {
    std::array<QString, reel::SymbolCount> litNames;
    std::array<reel::SymbolIndex, reel::CellCount> arrangement{};  // SymbolIndex 0..6
    bool hasPrizes = false;  // false for a file that ends after the arrangement
    int lastPrizeIndex = 0;
    std::vector<reel::PrizeEntry> prizes;  // entries 0..lastPrizeIndex when hasPrizes
};

// Reads the reel data text. Files with or without the version line are both read in
// step. Refused (false, *error says why): a file that ends or breaks before the
// arrangement is complete, an arrangement number outside 1..7, a prize count outside
// 0..100, a prize section that ends early. Prize values are taken as written: a prize
// symbol that is neither 0..6 nor 100 is for the caller to show as it sees fit.
bool readReelDataSummary(const QByteArray& bytes, ReelDataSummary& out, QString* error);
bool readReelDataSummaryFile(const QString& path, ReelDataSummary& out, QString* error);
