// round_player LOG EDITION: reads the game's debug log, rebuilds the board from the last
// "Board dealt:" line and the "Linked" lines after it, and prints the window pixels of the
// centres of a pair that links now, "x1 y1 x2 y2" (EDITION is windowed or fullscreen).
// Exit 0 with a pair, 3 when every tile is gone, 4 when no pair links, 2 on a log without
// a deal, 1 on bad arguments. The link rules are the board's own.
#include <GameBoard.h>

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

class Silent : public IBoardSound, public IBoardEffects, public IRoundScreens {
public:
    void Play(BoardSound) override {}
    void NewEffectList() override {}
    void StartBurst(BoardBurst, int, int) override {}
    int ShowMessageBox(const char*, const char*, int) override { return 1; }
    void ReturnToMainForm() override {}
    void PostCommand(int) override {}
    void RunBackgroundDialog() override {}
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 1;
    const BoardEdition& edition =
        strcmp(argv[2], "fullscreen") == 0 ? EDITION_FULLSCREEN : EDITION_WINDOWED;
    std::ifstream log(argv[1], std::ios::binary);
    std::string line, deal;
    std::vector<std::string> links;
    while (std::getline(log, line)) {
        const size_t at = line.find("Board dealt:");
        if (at != std::string::npos) {
            deal = line.substr(at + 12);
            links.clear();
        } else if (line.find("Linked (") != std::string::npos) {
            links.push_back(line);
        }
    }
    if (deal.empty())
        return 2;
    Silent silent;
    CGameBoard board(edition, BoardSeams{&silent, &silent, &silent});
    std::istringstream cells(deal);
    for (int i = 0; i < 64; ++i) {
        int picture = -1;
        cells >> picture;
        board.image[i] = picture;
        board.cell[i].state = picture < 0 ? CELL_REMOVED : CELL_NORMAL;
    }
    for (const std::string& l : links) {
        int c1, r1, c2, r2;
        if (sscanf(l.c_str() + l.find("Linked ("), "Linked (%d,%d) with (%d,%d)", &c1, &r1, &c2,
                   &r2) == 4) {
            board.cell[board.CellIndex(c1, r1)].state = CELL_REMOVED;
            board.cell[board.CellIndex(c2, r2)].state = CELL_REMOVED;
        }
    }
    bool anyLeft = false;
    for (int a = 0; a < 64; ++a) {
        if (board.cell[a].state == CELL_REMOVED)
            continue;
        anyLeft = true;
        for (int b = a + 1; b < 64; ++b) {
            if (board.cell[b].state == CELL_REMOVED || board.image[a] != board.image[b])
                continue;
            if (board.FindLinkPath(a % 8, a / 8, b % 8, b / 8)) {
                auto centreX = [&](int i) { return edition.boardLeft + (i % 8) * edition.pitchX + edition.pitchX / 2; };
                auto centreY = [&](int i) { return edition.boardTop + (i / 8) * edition.pitchY + edition.pitchY / 2; };
                printf("%d %d %d %d\n", centreX(a), centreY(a), centreX(b), centreY(b));
                return 0;
            }
            board.ClearMarks();
        }
    }
    return anyLeft ? 4 : 3;
}
