#!/usr/bin/env python3
"""Writes notes.mid: a format 0 MIDI file of eight piano quarter notes at 120 beats a
minute (four seconds), the MIDI sound the playback tests register."""
import pathlib
import struct


def delta(ticks):
    # A MIDI variable-length number: seven bits a byte, high bit set on all but the last.
    out = [ticks & 0x7F]
    ticks >>= 7
    while ticks:
        out.insert(0, (ticks & 0x7F) | 0x80)
        ticks >>= 7
    return bytes(out)


def main():
    division = 480  # ticks per quarter note
    track = bytearray()
    track += delta(0) + bytes([0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20])  # 500000 us a beat
    track += delta(0) + bytes([0xC0, 0x00])  # channel 1: acoustic grand piano
    for note in (60, 62, 64, 65, 67, 69, 71, 72):  # C major scale
        track += delta(0) + bytes([0x90, note, 0x64])
        track += delta(division) + bytes([0x80, note, 0x40])
    track += delta(0) + bytes([0xFF, 0x2F, 0x00])  # end of track
    data = b"MThd" + struct.pack(">IHHH", 6, 0, 1, division)
    data += b"MTrk" + struct.pack(">I", len(track)) + bytes(track)
    pathlib.Path(__file__).with_name("notes.mid").write_bytes(data)


if __name__ == "__main__":
    main()
