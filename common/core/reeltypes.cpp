#include "reeltypes.h"

namespace reel {

QString positionLabel(ReelPosition position) {
    return QStringLiteral("%1").arg(position + 1, 2, 10, QLatin1Char('0'));
}

QString gameStateCaption(GameState state) {
    switch (state) {
        case GameState::Normal:
            return QStringLiteral("通常時");
        case GameState::BigBonus:
            return QStringLiteral("BB中");
        case GameState::RegularBonus:
            return QStringLiteral("RB中");
    }
    return {};
}

QString prizeKindText(int kind) {
    static const char16_t* const texts[PrizeKindCount] = {u"0-なし",     u"1-ビッグ1", u"2-ビッグ2",
                                                          u"3-ビッグ3",  u"4-ビッグ4", u"5-ビッグ5",
                                                          u"6-レギラー", u"7-リプレイ"};
    if (kind < 0 || kind >= PrizeKindCount) return {};
    return QString::fromUtf16(texts[kind]);
}

}  // namespace reel
