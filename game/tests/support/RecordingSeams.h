// Seams that record what the board hands off, for tests.
#ifndef VEXA_TESTS_RECORDINGSEAMS_H
#define VEXA_TESTS_RECORDINGSEAMS_H

#include <BoardSeams.h>
#include <GameBoard.h>

#include <functional>
#include <string>
#include <vector>

struct RecordedBurst {
    BoardBurst burst;
    int col;
    int row;
};

struct RecordedBox {
    std::string title;
    std::string text;
    int flags;
};

class RecordingSeams : public IBoardSound, public IBoardEffects, public IRoundScreens,
                       public IRoundRecords {
public:
    std::vector<BoardSound> sounds;
    std::vector<RecordedBurst> bursts;
    int effectLists = 0;
    std::vector<RecordedBox> boxes;
    int returns = 0;
    std::vector<int> posted;
    int backgroundDialogs = 0;
    int boxAnswer = 1;
    std::function<void()> duringBackgroundDialog;
    int recordRank = 0;               // what RecordWin answers
    std::vector<int> recordedScores;  // the board's score at each RecordWin

    void Play(BoardSound sound) override { sounds.push_back(sound); }
    void NewEffectList() override { ++effectLists; }
    void StartBurst(BoardBurst burst, int col, int row) override
    {
        bursts.push_back({burst, col, row});
    }
    int ShowMessageBox(const char* title, const char* text, int flags) override
    {
        boxes.push_back({title, text, flags});
        return boxAnswer;
    }
    void ReturnToMainForm() override { ++returns; }
    void PostCommand(int code) override { posted.push_back(code); }
    void RunBackgroundDialog() override
    {
        ++backgroundDialogs;
        if (duringBackgroundDialog)
            duringBackgroundDialog();
    }

    int RecordWin(const CGameBoard& board) override
    {
        recordedScores.push_back(board.score);
        return recordRank;
    }

    BoardSeams Seams() { return {this, this, this, this}; }

    int Count(BoardSound sound) const
    {
        int n = 0;
        for (BoardSound s : sounds)
            n += s == sound;
        return n;
    }
    int Count(BoardBurst burst) const
    {
        int n = 0;
        for (const RecordedBurst& b : bursts)
            n += b.burst == burst;
        return n;
    }
    void Forget()
    {
        sounds.clear();
        bursts.clear();
        boxes.clear();
        posted.clear();
        returns = 0;
        backgroundDialogs = 0;
    }
};

#endif
