#include "specselection.h"

#include <algorithm>
#include <limits>

#include "machinespec.h"

namespace specboard {

void SpecSelection::limitFlags(int flagCount) {
    const int last = std::clamp(flagCount, 0, machine::MaxFlagCount) + 1;
    curFlag = static_cast<std::int16_t>(std::clamp<int>(curFlag, 1, last));
    payoutFlag = static_cast<std::int16_t>(std::clamp<int>(payoutFlag, 1, last));
}

std::int16_t boxTextValue(const QString& text) {
    const LeadingNumber n = leadingNumber(text);
    std::int64_t value = n.whole + (n.roundsUp ? 1 : 0);
    if (n.negative) value = -value;
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

}  // namespace specboard
