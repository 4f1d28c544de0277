#pragma once

#include <QString>

#include "soundrules.h"

// What the sound page tells the author about a sound, in the window's Japanese.

// Why a sound is not played: the bound it passes, with its figures.
QString refusalMessage(const soundrules::SoundFault& fault);

// A reason given by the mixer or the synthesizer, in Japanese; the box's detail keeps the
// original.
QString soundReasonInJapanese(const QString& reason);
