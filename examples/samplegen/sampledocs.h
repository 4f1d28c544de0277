#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "controldocument.h"
#include "machinespec.h"
#include "positiondocument.h"
#include "reeldatadocument.h"

// The documents of the sample machine, built through the editors' own document classes.
namespace sample {

// The names the sample's files go by.
namespace names {
inline const QString ReelData = QStringLiteral("machine.sdf");
inline const QString Control = QStringLiteral("machine.rcf");
inline const QString Machine = QStringLiteral("machine.orf");
inline const QString Positions = QStringLiteral("machine.ppf");
inline const QString Cabinet = QStringLiteral("cabinet.bmp");
inline const QString CabinetLit = QStringLiteral("cabinet_on.bmp");
inline const QString Digits = QStringLiteral("digits.bmp");
inline const QString Chime = QStringLiteral("medal.wav");
inline const QString Fanfare = QStringLiteral("fanfare.mid");
QString symbol(int index, int state);  // sym1.bmp, sym1_off.bmp, sym1_fl.bmp ...
}  // namespace names

// Seven symbols, strips, seven prizes of five kinds, two flash actions.
ReelDataDocument reelData();
// Stop tables that pull in or keep out the bonus symbols, base tables adding up to
// 256, and an assignment for every flag of the reel data.
ControlDocument control(int lastPrizeIndex);
// The machine: names, probabilities, pay lines of the three bets, CT and bonus rules,
// the two sounds. The reel data part (flag count) is the caller's to fill in.
MachineSpec machine();
// Every element of the cabinet placed on the cabinet pictures.
PositionDocument positions();

// For the benchmark: the sample grown to twenty prizes, and a control document whose
// stop tables, base tables and assignments all vary.
ReelDataDocument largeReelData();
ControlDocument variedControl(int lastPrizeIndex);

}  // namespace sample
