// CScoreTable: ordering, the scores file, and keeping the previous table safe.
//
// The file "scores.dat" is 508 bytes, every number little-endian:
//   "VXSC", version (u32, 1),
//   per difficulty 0..3: count (u32, 0..5), then five records of 24 bytes
//     score (i32), maxCombo (i32), seconds (IEEE single), flags (u32, bit 0 help used),
//     date (i64, seconds since 1970 UTC); places beyond count are zero,
//   FNV-1a (u32) of all the bytes before it.
// Any other size, signature, version or checksum, a count above five, a record out of
// order or out of range makes the file foreign: it is set aside, never overwritten.
//
// Saving writes "scores.dat.new", flushes it to the disk and renames it over
// "scores.dat", so a crash or a full disk mid-write leaves the previous file whole; a
// leftover ".new" is never read and is replaced by the next save. The paths are the file
// system's own (from the environment), so this file uses the POSIX calls directly.
#include "ScoreTable.h"

#include "GameBoard.h"

#include <kvTrace.h>

#include <errno.h>
#include <fcntl.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

const char FILE_NAME[] = "scores.dat";
const char SIGNATURE[4] = {'V', 'X', 'S', 'C'};
const uint32_t VERSION = 1;
const size_t RECORD_SIZE = 24;
const size_t FILE_SIZE =
    8 + DIFFICULTY_COUNT * (4 + SCORE_TABLE_PLACES * RECORD_SIZE) + 4;
const float MAX_SECONDS = 1.0e6f;

// True when a ranks above b.
bool Beats(const ScoreEntry& a, const ScoreEntry& b)
{
    if (a.score != b.score)
        return a.score > b.score;
    if (a.seconds != b.seconds)
        return a.seconds < b.seconds;
    return !a.helpUsed && b.helpUsed;
}

uint32_t Fnv1a(const char* data, size_t size)
{
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ static_cast<uint8_t>(data[i])) * 16777619u;
    return hash;
}

void PutU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutU64(std::string& out, uint64_t v)
{
    PutU32(out, static_cast<uint32_t>(v));
    PutU32(out, static_cast<uint32_t>(v >> 32));
}

uint32_t GetU32(const std::string& in, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(in[at + i]);
    return v;
}

uint64_t GetU64(const std::string& in, size_t at)
{
    return GetU32(in, at) | (static_cast<uint64_t>(GetU32(in, at + 4)) << 32);
}

// Reads at most limit bytes. 1 read, 0 no such file, -1 unreadable.
int ReadFile(const std::string& path, std::string* bytes, size_t limit)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? 0 : -1;
    bytes->clear();
    char buffer[1024];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            int err = errno;
            close(fd);
            errno = err;
            return -1;
        }
        if (got == 0 || bytes->size() >= limit)
            break;
        bytes->append(buffer, static_cast<size_t>(got));
    }
    close(fd);
    return 1;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put == 0)
            errno = ENOSPC;
        if (put <= 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

// Creates every missing folder of path (which ends in '/').
bool MakeFolders(const std::string& path)
{
    for (size_t at = 1; at < path.size(); ++at) {
        if (path[at] != '/')
            continue;
        std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The first free name "<path>.bad-<time>[-n]".
std::string SetAsideName(const std::string& path)
{
    std::string base = path + ".bad-" + std::to_string(static_cast<long long>(time(nullptr)));
    std::string name = base;
    for (int n = 1; access(name.c_str(), F_OK) == 0 && n < 1000; ++n)
        name = base + "-" + std::to_string(n);
    return name;
}

}  // namespace

CScoreTable::CScoreTable() : writable(false), saved(false)
{
    Clear();
}

void CScoreTable::Clear()
{
    memset(entries, 0, sizeof entries);
    memset(counts, 0, sizeof counts);
}

std::string CScoreTable::DefaultFolder()
{
    const char* data = getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return std::string(data) + "/vexatessel/";
    const char* home = getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/vexatessel/";
    return std::string();
}

ScoreEntry CScoreTable::EntryOfRound(const CGameBoard& board, int64_t date)
{
    ScoreEntry entry = {};
    entry.score = board.score;
    entry.maxCombo = board.maxCombo;
    entry.seconds = board.difficulty.lifeDrain > 0.0f
                        ? (1.0f - board.life) / board.difficulty.lifeDrain
                        : 0.0f;
    entry.helpUsed = board.helpUsed;
    entry.date = date;
    return entry;
}

int CScoreTable::DifficultyIndexOf(const DifficultyInfo& difficulty)
{
    for (int i = 0; i < DIFFICULTY_COUNT; ++i)
        if (memcmp(&DIFFICULTY_TABLE[i], &difficulty, sizeof difficulty) == 0)
            return i;
    return -1;
}

std::string CScoreTable::Text(int difficultyIndex) const
{
    if (Count(difficultyIndex) == 0)
        return "还没有成绩：赢一局就会记在这里。";
    std::string text;
    for (int i = 0; i < counts[difficultyIndex]; ++i) {
        const ScoreEntry& e = entries[difficultyIndex][i];
        char date[16] = "";
        const time_t when = static_cast<time_t>(e.date);
        struct tm local;
        if (localtime_r(&when, &local))
            strftime(date, sizeof date, "%Y-%m-%d", &local);
        char line[128];
        snprintf(line, sizeof line, "%s%d.  %d分%s  最高Combo %d  %.1f秒  %s", i ? "\n" : "",
                 i + 1, static_cast<int>(e.score), e.helpUsed ? "(x)" : "",
                 static_cast<int>(e.maxCombo), e.seconds, date);
        text += line;
    }
    return text;
}

std::string CScoreTable::FilePath() const
{
    return folder.empty() ? std::string() : folder + FILE_NAME;
}

int CScoreTable::Count(int difficultyIndex) const
{
    return difficultyIndex >= 0 && difficultyIndex < DIFFICULTY_COUNT ? counts[difficultyIndex]
                                                                      : 0;
}

const ScoreEntry& CScoreTable::Entry(int difficultyIndex, int place) const
{
    return entries[difficultyIndex][place];
}

void CScoreTable::Load(const std::string& folderPath)
{
    Clear();
    folder = folderPath;
    writable = !folder.empty();
    saved = false;
    if (folder.empty()) {
        Trace("No data folder for the scores; they are kept until the game ends.");
        return;
    }
    const std::string path = FilePath();
    std::string bytes;
    int got = ReadFile(path, &bytes, FILE_SIZE + 1);
    if (got == 0) {
        saved = true;  // nothing on the disk, nothing in the table
        return;
    }
    if (got < 0) {
        // Kept as it is: a file we cannot read is not ours to replace.
        writable = false;
        Trace("Failed to read scores file %s: %s. Scores are not saved.", path.c_str(),
              strerror(errno));
        return;
    }
    if (Decode(bytes)) {
        saved = true;
        return;
    }
    Clear();
    const std::string aside = SetAsideName(path);
    if (rename(path.c_str(), aside.c_str()) != 0) {
        writable = false;
        Trace("Scores file %s is not a scores table and cannot be set aside: %s.", path.c_str(),
              strerror(errno));
        return;
    }
    Trace("Scores file %s is not a scores table; set aside as %s.", path.c_str(), aside.c_str());
}

int CScoreTable::Add(int difficultyIndex, const ScoreEntry& entry)
{
    if (difficultyIndex < 0 || difficultyIndex >= DIFFICULTY_COUNT || !isfinite(entry.seconds))
        return 0;
    ScoreEntry* list = entries[difficultyIndex];
    int& count = counts[difficultyIndex];
    int place = 0;
    while (place < count && !Beats(entry, list[place]))
        ++place;
    if (place >= SCORE_TABLE_PLACES)
        return 0;
    int last = count < SCORE_TABLE_PLACES ? count : SCORE_TABLE_PLACES - 1;
    for (int i = last; i > place; --i)
        list[i] = list[i - 1];
    list[place] = entry;
    if (count < SCORE_TABLE_PLACES)
        ++count;
    saved = Save();
    return place + 1;
}

std::string CScoreTable::Encode() const
{
    std::string out(SIGNATURE, sizeof SIGNATURE);
    PutU32(out, VERSION);
    for (int d = 0; d < DIFFICULTY_COUNT; ++d) {
        PutU32(out, static_cast<uint32_t>(counts[d]));
        for (int i = 0; i < SCORE_TABLE_PLACES; ++i) {
            ScoreEntry e = i < counts[d] ? entries[d][i] : ScoreEntry{};
            uint32_t secondsBits;
            memcpy(&secondsBits, &e.seconds, 4);
            PutU32(out, static_cast<uint32_t>(e.score));
            PutU32(out, static_cast<uint32_t>(e.maxCombo));
            PutU32(out, secondsBits);
            PutU32(out, e.helpUsed ? 1u : 0u);
            PutU64(out, static_cast<uint64_t>(e.date));
        }
    }
    PutU32(out, Fnv1a(out.data(), out.size()));
    return out;
}

bool CScoreTable::Decode(const std::string& in)
{
    if (in.size() != FILE_SIZE || memcmp(in.data(), SIGNATURE, 4) != 0 ||
        GetU32(in, 4) != VERSION || GetU32(in, FILE_SIZE - 4) != Fnv1a(in.data(), FILE_SIZE - 4))
        return false;
    size_t at = 8;
    for (int d = 0; d < DIFFICULTY_COUNT; ++d) {
        uint32_t count = GetU32(in, at);
        at += 4;
        if (count > SCORE_TABLE_PLACES)
            return false;
        counts[d] = static_cast<int>(count);
        for (int i = 0; i < SCORE_TABLE_PLACES; ++i, at += RECORD_SIZE) {
            if (i >= counts[d])
                continue;
            ScoreEntry& e = entries[d][i];
            uint32_t secondsBits = GetU32(in, at + 8);
            uint32_t flags = GetU32(in, at + 12);
            e.score = static_cast<int32_t>(GetU32(in, at));
            e.maxCombo = static_cast<int32_t>(GetU32(in, at + 4));
            memcpy(&e.seconds, &secondsBits, 4);
            e.helpUsed = (flags & 1u) != 0;
            e.date = static_cast<int64_t>(GetU64(in, at + 16));
            if (flags > 1 || e.maxCombo < 1 || !isfinite(e.seconds) || e.seconds < 0.0f ||
                e.seconds > MAX_SECONDS || (i > 0 && Beats(e, entries[d][i - 1])))
                return false;
        }
    }
    return true;
}

bool CScoreTable::Save()
{
    if (!writable)
        return false;
    const std::string path = FilePath();
    const std::string fresh = path + ".new";
    const std::string bytes = Encode();
    if (!MakeFolders(folder)) {
        Trace("Failed to make the scores folder %s: %s.", folder.c_str(), strerror(errno));
        return false;
    }
    int err = 0;
    int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        err = errno;
    else {
        if (!WriteAll(fd, bytes) || fsync(fd) != 0)
            err = errno ? errno : EIO;
        if (close(fd) != 0 && !err)
            err = errno;
    }
    if (!err && rename(fresh.c_str(), path.c_str()) != 0)
        err = errno;
    if (err) {
        unlink(fresh.c_str());
        Trace("Failed to save the scores to %s: %s.", path.c_str(), strerror(err));
        return false;
    }
    // The rename itself reaches the disk with the folder.
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}
