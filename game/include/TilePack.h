// CTilePack: the pictures a round's tiles are drawn from, read once from "list.txt".
#ifndef VEXA_TILEPACK_H
#define VEXA_TILEPACK_H

class kvrTexture;

// The pack holds at most this many entries (the board's kind table has 256 slots).
#define TILEPACK_MAX_ENTRIES 256

struct TilePackEntry {
    kvrTexture* texture;   // created from the list line, registered with the registry
    char description[512]; // one line; display lines are separated by '|'
    char name[32];         // base name after the first '_'
    char tag[32];          // base name before the first '_'
};

// Creates a picture's texture resource from its file name (relative to the pack folder)
// and registers it, so that it loads with the other device resources.
class ITileTextureFactory {
public:
    virtual ~ITileTextureFactory() = default;
    virtual kvrTexture* CreateTexture(const char* fileName) = 0;
    // Unregisters and deletes a texture this factory created.
    virtual void ReleaseTexture(kvrTexture* texture) = 0;
};

class CTilePack {
public:
    int count;
    TilePackEntry* entries;

    CTilePack();
    ~CTilePack();
    CTilePack(const CTilePack&) = delete;
    CTilePack& operator=(const CTilePack&) = delete;

    // Reads folder + "list.txt" (folder ends in a separator). A missing or malformed list
    // raises an engine exception; the pack then stays empty.
    void Load(const char* folder, ITileTextureFactory* textures);

    // Releases the textures through the factory that made them and empties the pack.
    void Clear();

private:
    ITileTextureFactory* factory;
};

#endif
