// The six sound effects of "GUI/Sound/", synthesised as 44.1 kHz 16-bit mono WAV.
//
//   link     a two-note chime (E6 then B6), bell partials, 0.45 s
//   click    a soft low knock for a failed link, 0.08 s
//   move     a quiet high tick as the pointer enters a tile, 0.04 s
//   victory  a small fanfare, C5 E5 G5 and a held C6 over a chord, 2.2 s
//   hint     a sparkle: quick rising bell notes, 0.4 s
//   shuffle  a rustle of filtered noise in short bursts, 0.45 s
//
// Each is normalised to its own peak (the chimes and the fanfare to 0.89 of full scale,
// -1 dBFS; the knock and the tick lower, as they sound often), so none clips, and each
// fades in and out over a few milliseconds so none starts or ends with a click. Noise
// comes from a fixed linear congruential generator: the files are the same on every run.
#include "ArtTool.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace art {

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979;
constexpr double kLoud = 0.89;  // -1 dBFS

using Samples = std::vector<double>;

Samples Silence(double seconds)
{
    return Samples(size_t(seconds * kRate), 0.0);
}

double NoteHz(int semitonesFromA4)
{
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

// A struck bell-like note: a few inharmonic partials with exponential decay.
void Bell(Samples& s, double start, double hz, double length, double gain, double decay)
{
    static const double partials[][2] = {{1.0, 1.0}, {2.0, 0.45}, {3.01, 0.22}, {4.2, 0.1}};
    size_t from = size_t(start * kRate), count = size_t(length * kRate);
    for (size_t i = 0; i < count && from + i < s.size(); ++i) {
        double t = double(i) / kRate, v = 0;
        for (const auto& p : partials)
            v += p[1] * std::sin(2 * kPi * hz * p[0] * t) * std::exp(-t * decay * p[0]);
        double attack = std::fmin(1.0, t / 0.004);
        s[from + i] += gain * v * attack;
    }
}

// A soft brass-like tone: odd and even harmonics with a slow attack and release.
void Horn(Samples& s, double start, double hz, double length, double gain)
{
    size_t from = size_t(start * kRate), count = size_t(length * kRate);
    for (size_t i = 0; i < count && from + i < s.size(); ++i) {
        double t = double(i) / kRate;
        double env = std::fmin(1.0, t / 0.03) * std::fmin(1.0, (length - t) / 0.12);
        double vibrato = 1 + 0.004 * std::sin(2 * kPi * 5.5 * t) * std::fmin(1.0, t / 0.3);
        double v = 0;
        for (int h = 1; h <= 6; ++h)
            v += std::sin(2 * kPi * hz * h * vibrato * t) / (h * h * 0.6 + 0.4);
        s[from + i] += gain * env * v;
    }
}

struct Noise {
    uint32_t state;
    double Next()
    {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 24) * 2 - 1;
    }
};

void Normalise(Samples& s, double target)
{
    double peak = 0;
    for (double v : s)
        peak = std::fmax(peak, std::fabs(v));
    const size_t edge = size_t(0.003 * kRate);
    for (size_t i = 0; i < s.size(); ++i) {
        double fade = std::fmin(1.0, std::fmin(double(i), double(s.size() - 1 - i)) / double(edge));
        s[i] = peak > 0 ? s[i] / peak * target * fade : 0;
    }
}

void WriteWav(const std::string& path, Samples s, double peak)
{
    Normalise(s, peak);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw ArtError("cannot write " + path);
    auto u32 = [&](uint32_t v) { unsigned char b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; std::fwrite(b, 1, 4, f); };
    auto u16 = [&](uint16_t v) { unsigned char b[2] = {uint8_t(v), uint8_t(v >> 8)}; std::fwrite(b, 1, 2, f); };
    uint32_t data = uint32_t(s.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    u32(36 + data);
    std::fwrite("WAVEfmt ", 1, 8, f);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(kRate);
    u32(kRate * 2);
    u16(2);
    u16(16);
    std::fwrite("data", 1, 4, f);
    u32(data);
    for (double v : s)
        u16(uint16_t(int16_t(std::lround(v * 32767))));
    if (std::fclose(f) != 0)
        throw ArtError("cannot write " + path);
}

Samples Link()
{
    Samples s = Silence(0.45);
    Bell(s, 0.0, NoteHz(19), 0.45, 0.8, 7);   // E6
    Bell(s, 0.07, NoteHz(26), 0.38, 0.7, 8);  // B6
    return s;
}

Samples Click()
{
    Samples s = Silence(0.08);
    Noise noise{7};
    double low = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / kRate;
        low += (noise.Next() - low) * 0.08;
        s[i] = (std::sin(2 * kPi * 180 * t) * 0.8 + low * 2) * std::exp(-t * 60);
    }
    return s;
}

Samples Move()
{
    Samples s = Silence(0.04);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / kRate;
        s[i] = std::sin(2 * kPi * 2400 * t) * std::exp(-t * 160) * 0.3;
    }
    return s;
}

Samples Victory()
{
    Samples s = Silence(2.2);
    Horn(s, 0.00, NoteHz(3), 0.20, 0.5);   // C5
    Horn(s, 0.18, NoteHz(7), 0.20, 0.5);   // E5
    Horn(s, 0.36, NoteHz(10), 0.20, 0.5);  // G5
    Horn(s, 0.56, NoteHz(15), 1.5, 0.55);  // C6, held
    Horn(s, 0.56, NoteHz(3), 1.5, 0.25);   // over C5 E5 G5
    Horn(s, 0.56, NoteHz(7), 1.5, 0.22);
    Horn(s, 0.56, NoteHz(10), 1.5, 0.2);
    Bell(s, 0.56, NoteHz(27), 1.2, 0.25, 3);  // a shimmer on top
    return s;
}

Samples Hint()
{
    Samples s = Silence(0.4);
    const int notes[] = {24, 28, 31, 36};  // A6 C#7 E7 A7
    for (int i = 0; i < 4; ++i)
        Bell(s, i * 0.05, NoteHz(notes[i]), 0.4 - i * 0.05, 0.5, 12);
    return s;
}

Samples Shuffle()
{
    Samples s = Silence(0.45);
    Noise noise{12345};
    double band = 0, prev = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / kRate;
        double n = noise.Next();
        band += (n - band) * 0.35;  // low-pass
        double high = band - prev;   // then high-pass: a papery band
        prev = band;
        double bursts = 0;
        for (int k = 0; k < 6; ++k) {
            double at = 0.02 + k * 0.065, d = t - at;
            if (d >= 0)
                bursts += std::exp(-d * 45) * (1 - k * 0.08);
        }
        s[i] = high * bursts;
    }
    return s;
}

}  // namespace

void MakeSounds(const std::string& bin)
{
    std::string dir = bin + "GUI/Sound/";
    MakeFolder(dir);
    WriteWav(dir + "link.wav", Link(), kLoud);
    WriteWav(dir + "click.wav", Click(), 0.6);
    WriteWav(dir + "move.wav", Move(), 0.35);
    WriteWav(dir + "victory.wav", Victory(), kLoud);
    WriteWav(dir + "hint.wav", Hint(), 0.8);
    WriteWav(dir + "shuffle.wav", Shuffle(), 0.7);
}

}  // namespace art
