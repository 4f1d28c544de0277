// The sound rules on any bytes, read as a WAV file and as a MIDI file: whatever the chunk
// sizes, event lengths and tempos say, nothing is read past the bytes, and a sound
// specboard refuses is reported with the same bound.
#include <cstddef>
#include <cstdint>

#include "soundrules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Past the MIDI bound only the size is looked at; the fuzzer's inputs stay below it.
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    using namespace soundrules;
    const auto check = [](const QList<SoundFault>& faults,
                          const std::optional<SoundFault>& refusal) {
        if (refusal &&
            (faults.isEmpty() || faults.last().kind != refusal->kind || !isBound(refusal->kind)))
            __builtin_trap();
    };
    check(wavFaults(bytes), wavRefusal(bytes));
    check(midiFaults(bytes), midiRefusal(bytes));
    // The same bytes behind a MIDI header, so the track reader sees them.
    QByteArray midi("MThd\0\0\0\6\0\1\0\1\0\x60MTrk\0\0\0\0", 22);
    const auto length = quint32(size);
    midi[18] = char(length >> 24);
    midi[19] = char(length >> 16);
    midi[20] = char(length >> 8);
    midi[21] = char(length);
    midi += bytes;
    check(midiFaults(midi), midiRefusal(midi));
    return 0;
}
