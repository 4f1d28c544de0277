#include "controldocument.h"

#include <algorithm>

using namespace control;

bool AssignmentKey::isValid() const {
    return playState >= 0 && playState < PlayStateCount && bonusFlagState >= 0 &&
           bonusFlagState < BonusFlagStateCount && bet >= 0 && bet < BetCount && stopOrder >= 0 &&
           stopOrder < StopOrderCount && flag >= 0 && flag < FlagCount && bigType >= 0 &&
           bigType < BigTypeCount && firstStop >= 1 && firstStop <= FirstStopCount;
}

std::size_t AssignmentKey::index() const {
    Q_ASSERT(isValid());
    std::size_t i = std::size_t(playState);
    i = i * BonusFlagStateCount + bonusFlagState;
    i = i * BetCount + bet;
    i = i * StopOrderCount + stopOrder;
    i = i * FlagCount + flag;
    i = i * BigTypeCount + bigType;
    return i * FirstStopCount + (firstStop - 1);
}

ControlDocument::ControlDocument()
    : comments_(StopTableCount),
      stops_(std::size_t(StopTableCount) * reel::CellCount, 0),
      base_(std::size_t(BaseTableCount) * SlotsPerBaseTable),
      assignments_(AssignmentCount, 1) {
    // A new document assigns base table 1 everywhere except to flag 20, which only a
    // reel data file with twenty prizes reaches.
    for (std::size_t group = 0; group < AssignmentCount / EntriesPerGroup; ++group) {
        auto flag20 =
            assignments_.begin() + group * EntriesPerGroup + (FlagCount - 1) * EntriesPerFlag;
        std::fill(flag20, flag20 + EntriesPerFlag, std::int16_t(0));
    }
}

bool ControlDocument::setLastPrizeIndex(int value, QString* error) {
    if (value < 0 || value > MaxLastPrizeIndex) {
        if (error)
            *error = QStringLiteral(
                         "リールファイルの役の数（%1 個）は制御データでは扱えません。"
                         "割り当てられる役は 1 個から %2 個までです。")
                         .arg(value + 1)
                         .arg(MaxLastPrizeIndex + 1);
        return false;
    }
    lastPrizeIndex_ = value;
    return true;
}
