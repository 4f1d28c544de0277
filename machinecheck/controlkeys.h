#pragma once

#include "controldocument.h"

namespace check {

// Calls f(key) for every assignment the control file of `lastPrizeIndex` carries, in the
// order of its lines: the regular bonus play state has one key group, every other play
// state one per bonus flag state, bet and stop order; flags run to LastPrizeIndex + 1.
template <typename F>
void forEachFileKey(int lastPrizeIndex, F&& f) {
    using namespace control;
    AssignmentKey k;
    for (k.playState = 0; k.playState < PlayStateCount; ++k.playState) {
        const bool single = k.playState == RegularBonusPlayState;
        for (k.bonusFlagState = 0; k.bonusFlagState < (single ? 1 : BonusFlagStateCount);
             ++k.bonusFlagState)
            for (k.bet = 0; k.bet < (single ? 1 : BetCount); ++k.bet)
                for (k.stopOrder = 0; k.stopOrder < (single ? 1 : StopOrderCount); ++k.stopOrder)
                    for (k.flag = 0; k.flag <= lastPrizeIndex + 1; ++k.flag)
                        for (k.bigType = 0; k.bigType < BigTypeCount; ++k.bigType)
                            for (k.firstStop = 1; k.firstStop <= FirstStopCount; ++k.firstStop)
                                f(k);
    }
}

}  // namespace check
