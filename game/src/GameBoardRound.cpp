// The round of CGameBoard: set-up, score and combo, the draining bars, pause and the end
// of the round with its result texts.
#include "GameBoard.h"

#include "TilePack.h"

#include <kvException.h>
#include <kvTrace.h>

#include <stdio.h>

namespace {

const char* const WIN_TITLE = "恭喜您";
const char* const WIN_FORMAT_HELPED =
    "成功过关！\n\n难度 %s\n您的分数是 %d(x)\n最高Combo数 %d\n共耗时 %.1f秒";
const char* const WIN_FORMAT = "成功过关！\n\n难度 %s\n您的分数是 %d\n最高Combo数 %d\n共耗时 %.1f秒";
// Follows the result text when the win enters the best scores.
const char* const RECORD_FORMAT = "\n新纪录！第%d名";
const char* const LOSS_TITLE = "时间到";
const char* const LOSS_TEXT = "任务失败！";
const int MESSAGEBOX_OK = 1;

}  // namespace

void CGameBoard::SetDifficulty(int index, const CTilePack* tilePack)
{
    if (index < 0 || index >= DIFFICULTY_COUNT)
        NewExceptionf(KVEXCEPTION_GENERAL, "Unknown difficulty %d.", index);
    const DifficultyInfo& row = DIFFICULTY_TABLE[index];
    // Kind selection draws distinct pack entries; with fewer entries than kinds it
    // would never end, so the round is refused before it starts.
    if (tilePack == nullptr || tilePack->count < row.kindCount)
        NewExceptionf(KVEXCEPTION_DATAFILE,
                      "The tile pack holds %d pictures; this difficulty needs %d.",
                      tilePack ? tilePack->count : 0, static_cast<int>(row.kindCount));
    difficulty = row;
    pack = tilePack;
    seams.effects->NewEffectList();
    ScanPartners(tilePack);
}

void CGameBoard::StartRound()
{
    if (pack == nullptr)
        NewException("A round was started before its difficulty was set.", KVEXCEPTION_GENERAL);
    life = 1.0f;
    score = 0;
    paused = false;
    combo = 1;
    maxCombo = 1;
    comboBar = 0.0f;
    helpUsed = false;
    PickKinds();
    Deal(false);
    ClearMarks();
    shownImage = static_cast<uint32_t>(image[CellIndex(0, 0)]);
}

void CGameBoard::TogglePause()
{
    paused = !paused;
    Trace(paused ? "Round paused at life %.4f." : "Round resumed at life %.4f.", double(life));
}

bool CGameBoard::IsPaused() const
{
    return paused;
}

void CGameBoard::HandleBoardEvent(VlxMessage* event)
{
    HandlePointer(event);
    TestEndOfRound();
}

void CGameBoard::UpdateBars(float dt)
{
    if (paused)
        return;
    life -= difficulty.lifeDrain * dt;
    if (life < 0.0f)
        life = 0.0f;
    comboBar -= difficulty.comboDrain * dt;
    if (comboBar < 0.0f) {
        comboBar = 0.0f;
        combo = 1;
    }
}

void CGameBoard::AdvanceCellTimers(float dt)
{
    if (paused)
        return;
    for (int i = 0; i < width * height; ++i)
        cell[i].timer += dt;
}

void CGameBoard::ScoreLink()
{
    // Invariant: comboBar > 0 means the previous link is less than 1 / comboDrain ago.
    if (comboBar > 0.0f)
        ++combo;
    comboBar = 1.0f;
    if (combo > maxCombo)
        maxCombo = combo;
    score += 8 * combo;
}

void CGameBoard::TestEndOfRound()
{
    bool cleared = true;
    for (int i = 0; i < width * height && cleared; ++i)
        cleared = cell[i].state == CELL_REMOVED && cell[i].timer >= 1.0f;
    if (cleared) {
        seams.sound->Play(SOUND_VICTORY);
        paused = true;
        score = static_cast<int32_t>(maxCombo * 20 + life * 600.0 + score);
        // Paused time never drains the bar, so the time used excludes it.
        double seconds = (1.0f - life) / difficulty.lifeDrain;
        char text[512];
        int length = snprintf(text, sizeof(text), helpUsed ? WIN_FORMAT_HELPED : WIN_FORMAT,
                              difficulty.name, static_cast<int>(score),
                              static_cast<int>(maxCombo), seconds);
        const int rank = seams.records ? seams.records->RecordWin(*this) : 0;
        if (rank > 0 && length > 0 && static_cast<size_t>(length) < sizeof(text))
            snprintf(text + length, sizeof(text) - length, RECORD_FORMAT, rank);
        seams.screens->ShowMessageBox(WIN_TITLE, text, MESSAGEBOX_OK);
        seams.screens->ReturnToMainForm();
        return;
    }
    if (life <= 0.0f) {
        seams.screens->ShowMessageBox(LOSS_TITLE, LOSS_TEXT, MESSAGEBOX_OK);
        seams.screens->ReturnToMainForm();
    }
}
