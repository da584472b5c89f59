// The sound system on SDL's disk audio driver: what plays is read back from the output
// file as samples. The test waves are synthesised in the output's own format (44.1 kHz,
// 16-bit stereo), so each one's constant level passes the mixer unchanged.
#include "MemoryStream.h"
#include "ThrownMessage.h"

#include <SoundSystem.h>

#include <KvLib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdlib.h>
#include <string>
#include <thread>
#include <vector>

namespace {

const int16_t kLevelA = 1234;
const int16_t kLevelB = -2345;

void WriteWave(const std::string& path, int16_t level, float seconds)
{
    const uint32_t frames = uint32_t(44100 * seconds), data = frames * 4;
    std::vector<uint8_t> f;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            f.push_back(uint8_t(v >> (8 * i)));
    };
    auto tag = [&](const char* t) { f.insert(f.end(), t, t + 4); };
    tag("RIFF"), put(36 + data, 4), tag("WAVE");
    tag("fmt "), put(16, 4), put(1, 2), put(2, 2), put(44100, 4), put(44100 * 4, 4), put(4, 2),
        put(16, 2);
    tag("data"), put(data, 4);
    for (uint32_t i = 0; i < frames * 2; ++i)
        put(uint16_t(level), 2);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(f.data()),
                                                std::streamsize(f.size()));
}

void Wait(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = testing::TempDir() + "sound_test_" + std::to_string(::getpid()) + "/";
        std::system(("mkdir -p " + dir).c_str());
        output = dir + "mix.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        WriteWave(dir + "a.wav", kLevelA, 1.5f);
        WriteWave(dir + "b.wav", kLevelB, 0.2f);
        std::ofstream(dir + "bad.wav") << "RIFF not a wave at all";
        log = new MemoryStream("", false, false, false);
        SetDebugOutput(log, false);
        fTime = 1.0f;
        MySoundSystem = new CSoundSystem;
        MySoundSystem->Create();
        std::snprintf(kvPath, sizeof kvPath, "%s", dir.c_str());
        MySoundSystem->SetFolder("");
        kvPath[0] = '\0';
    }
    void TearDown() override
    {
        StopSound();
        kvlib::CloseTraceOutputs();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::system(("rm -rf " + dir).c_str());
    }

    // Plays a then, after ms milliseconds and seconds of fTime, b; lets both sound out.
    void PlayTwo(int ms, float seconds)
    {
        MySoundSystem->Load(&SoundLink, "a.wav");
        MySoundSystem->Load(&SoundShuffle, "b.wav");
        fTime += 1.0f;
        CBoardSound board;
        board.Play(SOUND_LINK);
        Wait(ms);
        fTime += seconds;
        board.Play(SOUND_SHUFFLE);
        Wait(400);
        StopSound();  // closes the output file
    }

    // The output's samples: counts of each level, and where the first of b lies.
    struct Heard {
        size_t a = 0, b = 0, aAfterB = 0;
    };
    Heard Listen()
    {
        std::ifstream in(output, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        Heard h;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const int16_t s = int16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
            h.a += s == kLevelA;
            h.b += s == kLevelB;
            h.aAfterB += s == kLevelA && h.b > 0;
        }
        return h;
    }

    std::string dir, output;
    MemoryStream* log = nullptr;
};

TEST_F(SoundTest, ANewSoundCutsTheOneStillSounding)
{
    PlayTwo(150, 0.15f);
    const Heard h = Listen();
    EXPECT_GT(h.a, 44100u * 2 / 10) << "a sounded for a while";
    EXPECT_LT(h.a, 44100u * 2) << "but not for its whole 1.5 s";
    EXPECT_GT(h.b, 44100u * 2 / 10);
    EXPECT_EQ(0u, h.aAfterB);
}

TEST_F(SoundTest, ASecondSoundWithinAHundredthOfASecondIsDropped)
{
    PlayTwo(0, 0.005f);
    const Heard h = Listen();
    EXPECT_GT(h.a, 44100u * 2 / 10);
    EXPECT_EQ(0u, h.b);
}

TEST_F(SoundTest, AFileThatIsMissingOrNoWaveIsRefusedWithTheEngineMessage)
{
    for (const char* name : {"none.wav", "bad.wav", ""}) {
        DWORD type = 0;
        EXPECT_EQ("Failed to load sound or music.",
                  ThrownMessage([&] { MySoundSystem->Load(&SoundHint, name); }, &type))
            << name;
        EXPECT_EQ(1u, type);
        EXPECT_EQ(nullptr, SoundHint);
    }
}

TEST(SilentSound, WithoutAnAudioDeviceTheEffectsLoadAndPlayInSilenceTracedOnce)
{
    auto* log = new MemoryStream("", false, false, false);
    SetDebugOutput(log, false);
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const std::string dir = testing::TempDir() + "silent_sound_" + std::to_string(::getpid()) + "/";
    std::system(("mkdir -p " + dir).c_str());
    WriteWave(dir + "a.wav", kLevelA, 0.05f);
    MySoundSystem = new CSoundSystem;
    MySoundSystem->Create();
    std::snprintf(kvPath, sizeof kvPath, "%s", dir.c_str());
    MySoundSystem->SetFolder("");
    kvPath[0] = '\0';
    MySoundSystem->Load(&SoundMove, "a.wav");
    for (int i = 0; i < 3; ++i) {
        fTime += 1.0f;
        CBoardSound().Play(SOUND_MOVE);
    }
    StopSound();
    EXPECT_EQ(nullptr, MySoundSystem);
    EXPECT_EQ(nullptr, SoundMove);
    const std::string text(log->medium.begin(), log->medium.end());
    const std::string line = "No audio device: the game runs without sound.";
    EXPECT_NE(std::string::npos, text.find(line));
    EXPECT_EQ(text.find(line), text.rfind(line));
    kvlib::CloseTraceOutputs();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::system(("rm -rf " + dir).c_str());
}

}  // namespace
