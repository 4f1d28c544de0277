#pragma once

#include <QString>

// The editors' own captions of the machine's states and occasions, as their windows show
// them: the checker's messages and the machine sheet name values by them.
namespace captions {

inline const QString PlayStates[] = {QStringLiteral("通常時"), QStringLiteral("BB中"),
                                     QStringLiteral("RB中"), QStringLiteral("CT中")};
inline const QString BonusFlagStates[] = {QStringLiteral("ボーナス否成立"),
                                          QStringLiteral("BB成立後"), QStringLiteral("RB成立後")};
inline const QString StopOrders[] = {QStringLiteral("左中右"), QStringLiteral("左右中"),
                                     QStringLiteral("中左右"), QStringLiteral("中右左"),
                                     QStringLiteral("右左中"), QStringLiteral("右中左")};
inline const QString ProbStates[] = {QStringLiteral("低確率時"), QStringLiteral("高確率時"),
                                     QStringLiteral("BB中"), QStringLiteral("RB中")};
inline const QString SoundGroups[] = {
    QStringLiteral("メタル投入音"), QStringLiteral("リール回転音"), QStringLiteral("リール停止音")};
inline const QString BonusSoundStates[] = {QStringLiteral("BB成立後"), QStringLiteral("RB成立後")};
inline const QString PayStates[] = {QStringLiteral("通常時"), QStringLiteral("BB中"),
                                    QStringLiteral("RB中")};
inline const QString PayTimings[] = {QStringLiteral("揃った時"), QStringLiteral("払い出し")};
inline const QString BgmNames[] = {
    QStringLiteral("レギラーボーナス"), QStringLiteral("ビッグボーナス 1"),
    QStringLiteral("ビッグボーナス 2"), QStringLiteral("ビッグボーナス 3"),
    QStringLiteral("ビッグボーナス 4"), QStringLiteral("ビッグボーナス 5"),
    QStringLiteral("ビッグ終了時"),     QStringLiteral("ウェイト音")};
inline const QString LineRowNames[] = {QStringLiteral("枠上"), QStringLiteral("上段"),
                                       QStringLiteral("中段"), QStringLiteral("下段"),
                                       QStringLiteral("枠下")};
inline const QString ReelCaptions[] = {QStringLiteral("左リール"), QStringLiteral("中リール"),
                                       QStringLiteral("右リール")};
inline const QString PictureStates[] = {QStringLiteral("点灯"), QStringLiteral("消灯"),
                                        QStringLiteral("フラッシュ"), QStringLiteral("点滅")};

}  // namespace captions
