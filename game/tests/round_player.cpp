// round_player LOG EDITION: reads the game's debug log, rebuilds the board from the last
// "Board dealt:" line and the "Linked" lines after it, and prints the window pixels of the
// centres of a pair that links now, "x1 y1 x2 y2" (EDITION is windowed or fullscreen).
// Exit 0 with a pair of equal pictures, 5 with a pair of look-alike partners (the pack
// beside the log names them), which the game takes only now and then, so the caller
// clicks it until it links; 3 when every tile is gone, 4 when no pair links, 2 on a log
// without a deal, 1 on bad arguments. The link rules are the board's own.
#include <GameBoard.h>
#include <TilePack.h>

#include <kvException.h>

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
    // The game writes its log beside itself, and its pack lies there too.
    std::string folder = argv[1];
    const size_t slash = folder.find_last_of('/');
    folder = (slash == std::string::npos ? std::string() : folder.substr(0, slash + 1)) +
             "DataPack\\Vexa\\";
    CTilePack pack;
    try {
        pack.Load(folder.c_str(), nullptr);
        board.ScanPartners(&pack);
    } catch (const kvException&) {
        // Without the pack only equal pictures are offered.
    }
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
    auto centreX = [&](int i) { return edition.boardLeft + (i % 8) * edition.pitchX + edition.pitchX / 2; };
    auto centreY = [&](int i) { return edition.boardTop + (i / 8) * edition.pitchY + edition.pitchY / 2; };
    bool anyLeft = false;
    int partnerA = -1, partnerB = -1;
    for (int a = 0; a < 64; ++a) {
        if (board.cell[a].state == CELL_REMOVED)
            continue;
        anyLeft = true;
        for (int b = a + 1; b < 64; ++b) {
            if (board.cell[b].state == CELL_REMOVED)
                continue;
            const bool equal = board.image[a] == board.image[b];
            if (!equal && (partnerA >= 0 || !board.ArePartners(board.image[a], board.image[b])))
                continue;
            // The path alone: the board's own test of partners is a draw.
            const int picture = board.image[b];
            board.image[b] = board.image[a];
            const bool joined = board.FindLinkPath(a % 8, a / 8, b % 8, b / 8);
            board.image[b] = picture;
            board.ClearMarks();
            if (joined && equal) {
                printf("%d %d %d %d\n", centreX(a), centreY(a), centreX(b), centreY(b));
                return 0;
            }
            if (joined)
                partnerA = a, partnerB = b;
        }
    }
    if (partnerA >= 0) {
        printf("%d %d %d %d\n", centreX(partnerA), centreY(partnerA), centreX(partnerB),
               centreY(partnerB));
        return 5;
    }
    return anyLeft ? 4 : 3;
}
