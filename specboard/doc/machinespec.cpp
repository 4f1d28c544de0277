#include "machinespec.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "pictures.h"

namespace {

bool above(const LeadingNumber& n, std::int64_t limit) {
    if (n.negative) return false;
    return n.whole > limit || (n.whole == limit && n.hasFraction);
}

// A box of the bonus page whose text the file stores.
struct TextBoxRule {
    std::optional<std::int64_t> limit;  // above it the text becomes "0"
};

QString applyBoxText(const QString& text, const TextBoxRule& rule) {
    if (rule.limit && above(leadingNumber(text), *rule.limit)) return QStringLiteral("0");
    return text;
}

constexpr TextBoxRule CTEndRule{9999};
// Big and regular bonus lengths in games hold two digits; the counts of regular bonuses
// and wins are single-digit boxes with no limit of their own.
constexpr std::array<TextBoxRule, machine::BonusEndSlots> BonusEndRules{
    TextBoxRule{99}, TextBoxRule{}, TextBoxRule{99}, TextBoxRule{}};

}  // namespace

LeadingNumber leadingNumber(const QString& text) {
    LeadingNumber n;
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) n.negative = text[i++] == u'-';
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        if (n.whole < 1'000'000'000'000LL) n.whole = n.whole * 10 + (text[i].unicode() - u'0');
    if (i < text.size() && text[i] == u'.') {
        ++i;
        const qsizetype first = i;
        int firstDigit = -1;
        bool restNonZero = false;
        for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            const int digit = text[i].unicode() - u'0';
            if (i == first)
                firstDigit = digit;
            else if (digit != 0)
                restNonZero = true;
            if (digit != 0) n.hasFraction = true;
        }
        n.roundsUp = firstDigit > 5 || (firstDigit == 5 && (restNonZero || n.whole % 2 == 1));
    }
    return n;
}

QString oddsText(std::int32_t v) {
    if (v == 0) return QStringLiteral("?");
    const double odds = std::floor(100.0 * 65536.0 / v) / 100.0;
    return QString::number(odds, 'g', QLocale::FloatingPointShortest);
}

ReelDataInfo::ReelDataInfo() {
    // Before any reel data is read every flag shows symbol 1 on each reel.
    for (reel::PrizeEntry& entry : flagPrize) entry.symbols.fill(0);
}

QImage ReelDataInfo::picture(int symbol) const {
    if (reel::isSymbol(symbol)) return symbolPictures[symbol];
    if (symbol == reel::AnySymbol) return pictures::anyPicture();
    return pictures::blankPicture();
}

MachineSpec::MachineSpec() {
    // Every box of the bonus page starts showing "0".
    ctEndConText_.fill(QStringLiteral("0"));
    bonusEndText_.fill(QStringLiteral("0"));
}

QString MachineSpec::setCTEndConText(int i, const QString& text) {
    ctEndConText_[i] = applyBoxText(text, CTEndRule);
    return ctEndConText_[i];
}

QString MachineSpec::setBonusEndText(int i, const QString& text) {
    bonusEndText_[i] = applyBoxText(text, BonusEndRules[i]);
    return bonusEndText_[i];
}
