// Texture slots, palette, standard captions and the built-in language packs.
#include <ThrownMessage.h>
#include <zebSkin.h>

#include <kvResource.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
// Restores the load-time skin so the tests stay independent of their order.
void ResetSkin()
{
    std::memset(UITexture, 0, sizeof UITexture);
    std::memset(ViewPalette, 0, sizeof ViewPalette);
    std::memset(CusCaption, 0, sizeof CusCaption);
    ButtonStyle = 1;
}

std::string Hex(const char* s)
{
    std::string out;
    char buf[4];
    for (; *s; ++s) {
        std::snprintf(buf, sizeof buf, "%s%02X", out.empty() ? "" : " ",
                      static_cast<unsigned char>(*s));
        out += buf;
    }
    return out;
}

// A texture resource whose device object exists only while loaded.
class FakeTexture : public kvResource {
public:
    void Load() override { texture = &storage; }
    void Release() override { texture = nullptr; }
    void* GetPtr() override { return texture; }

    int storage = 0;
    void* texture = nullptr;
};
}  // namespace

class SkinTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSkin(); }
    void TearDown() override { ResetSkin(); }
};

TEST(SkinAtLoad, EverythingEmptyAndButtonsFlat)
{
    for (void* t : UITexture)
        EXPECT_EQ(nullptr, t);
    for (DWORD c : ViewPalette)
        EXPECT_EQ(0u, c);
    for (const auto& c : CusCaption)
        EXPECT_STREQ("", c);
    EXPECT_EQ(1, ButtonStyle);
}

// ---- palette -------------------------------------------------------------------------

TEST_F(SkinTest, PaletteCountIsInBytes)
{
    DWORD colours[ZEB_PALETTE_SIZE];
    for (int i = 0; i < ZEB_PALETTE_SIZE; ++i)
        colours[i] = 0xFF000000u | DWORD(i + 1);
    ViewPalette[13] = 0xDEADBEEF;

    SetViewPaletteRaw(colours, 52);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(colours[i], ViewPalette[i]) << i;
    EXPECT_EQ(0xDEADBEEFu, ViewPalette[13]);

    ResetSkin();
    SetViewPaletteRaw(colours, 6);  // one whole colour and a dropped half
    EXPECT_EQ(colours[0], ViewPalette[0]);
    EXPECT_EQ(0u, ViewPalette[1]);

    SetViewPaletteRaw(nullptr, 0);
    SetViewPaletteRaw(colours, 3);
    EXPECT_EQ(colours[0], ViewPalette[0]);
    EXPECT_EQ(0u, ViewPalette[1]);

    SetViewPaletteRaw(colours, sizeof colours);
    EXPECT_EQ(colours[ZEB_PALETTE_SIZE - 1], ViewPalette[ZEB_PALETTE_SIZE - 1]);
}

TEST_F(SkinTest, PaletteThatDoesNotFitIsRefusedWhole)
{
    DWORD colours[ZEB_PALETTE_SIZE + 1] = {0xFFFFFFFF};
    EXPECT_EQ("Palette too long: 68 bytes, at most 64.",
              ThrownMessage([&] { SetViewPaletteRaw(colours, sizeof colours); }));
    EXPECT_EQ(0u, ViewPalette[0]);
    EXPECT_EQ("Palette without colours.", ThrownMessage([] { SetViewPaletteRaw(nullptr, 4); }));
}

TEST_F(SkinTest, DefaultPaletteInstallsItsThirteenRoles)
{
    SetViewPaletteRaw(zeb::kDefaultPalette, sizeof zeb::kDefaultPalette);
    EXPECT_EQ(52u, sizeof zeb::kDefaultPalette);
    EXPECT_EQ(0x801E281Eu, ViewPalette[VP_INTERIOR]);
    EXPECT_EQ(0xFFACD373u, ViewPalette[VP_TEXT]);
    EXPECT_EQ(0xFFFFF7F0u, ViewPalette[VP_HIGHLIGHT_TEXT]);
    EXPECT_EQ(0x96FFFF00u, ViewPalette[VP_SELECTION_BACK]);
    EXPECT_EQ(0xC8FFFFFFu, ViewPalette[VP_COMPOSITION_LINE]);
    EXPECT_EQ(0u, ViewPalette[VP_ROLES]);
}

// ---- textures ------------------------------------------------------------------------

TEST_F(SkinTest, RawTexturesFillTheFirstSlotsOnly)
{
    int a, b, c;
    void* all[ZEB_TEXTURE_SLOTS];
    for (auto& t : all)
        t = &c;
    SetGUITexture(all, ZEB_TEXTURE_SLOTS);
    void* two[] = {&a, &b};
    SetGUITexture(two, 2);
    EXPECT_EQ(&a, UITexture[UITEXTURE_FRAME]);
    EXPECT_EQ(&b, UITexture[UITEXTURE_BUTTON]);
    for (int i = 2; i < ZEB_TEXTURE_SLOTS; ++i)
        EXPECT_EQ(&c, UITexture[i]) << i;

    SetGUITexture(static_cast<void**>(nullptr), 0);
    for (void* t : UITexture)
        EXPECT_EQ(nullptr, t);
}

TEST_F(SkinTest, MoreTexturesThanSlotsAreRefusedWhole)
{
    int a;
    void* many[ZEB_TEXTURE_SLOTS + 1];
    for (auto& t : many)
        t = &a;
    kvResource* resources[ZEB_TEXTURE_SLOTS + 1] = {};
    EXPECT_EQ("Too many GUI textures: 13, at most 12.",
              ThrownMessage([&] { SetGUITexture(many, ZEB_TEXTURE_SLOTS + 1); }));
    EXPECT_EQ("Too many GUI textures: 13, at most 12.",
              ThrownMessage([&] { SetGUITexture(resources, ZEB_TEXTURE_SLOTS + 1); }));
    for (void* t : UITexture)
        EXPECT_EQ(nullptr, t);
}

TEST_F(SkinTest, ResourceTexturesAreTakenAsLoadedByTheRegistry)
{
    kvlib::DestroyRegistry();
    kvlib::CreateRegistry();
    FakeTexture frame, face;
    kvrReg(&frame);
    kvrReg(&face);
    kvResource* list[] = {&frame, &face, nullptr};

    SetGUITexture(list, 3);  // not loaded yet: nothing to take
    EXPECT_EQ(nullptr, UITexture[0]);

    kvResourceLoad();
    SetGUITexture(list, 3);
    EXPECT_EQ(&frame.storage, UITexture[UITEXTURE_FRAME]);
    EXPECT_EQ(&face.storage, UITexture[UITEXTURE_BUTTON]);
    EXPECT_EQ(nullptr, UITexture[2]);

    // The slots are borrowed: they are cleared before the textures go.
    SetGUITexture(static_cast<kvResource**>(nullptr), 0);
    kvResourceRelease();
    for (void* t : UITexture)
        EXPECT_EQ(nullptr, t);
    EXPECT_EQ(nullptr, frame.GetPtr());
    kvlib::DestroyRegistry();
}

// ---- captions ------------------------------------------------------------------------

struct CaptionCase {
    int index;
    const char* chineseGbk;
    const char* english;
};

class LanguagePacks : public ::testing::TestWithParam<CaptionCase> {
protected:
    void TearDown() override { ResetSkin(); }
};

TEST_P(LanguagePacks, CaptionsInGbkAndInEnglish)
{
    const CaptionCase& c = GetParam();
    SetLanguagePack(zeb::kLanguagePacks[0], ZEB_CAPTION_SIZE);
    EXPECT_EQ(c.chineseGbk, Hex(CusCaption[c.index]));
    SetLanguagePack(zeb::kLanguagePacks[1], ZEB_CAPTION_SIZE);
    EXPECT_STREQ(c.english, CusCaption[c.index]);
}

INSTANTIATE_TEST_SUITE_P(
    Standard, LanguagePacks,
    ::testing::Values(CaptionCase{CC_OK, "C8 B7 B6 A8", "Accept"},
                      CaptionCase{CC_CANCEL, "C8 A1 CF FB", "Cancel"},
                      CaptionCase{CC_YES, "CA C7", "Yes"}, CaptionCase{CC_NO, "B7 F1", "No"},
                      CaptionCase{CC_ERROR, "B4 ED CE F3", "Error"},
                      CaptionCase{CC_INFORMATION, "D0 C5 CF A2", "Information"},
                      CaptionCase{CC_PROMPT, "CC E1 CA BE", "Prompt"},
                      CaptionCase{CC_CONFIRMATION, "C8 B7 C8 CF", "Confirmation"}));

TEST_F(SkinTest, LanguagePackWithItsOwnStride)
{
    const char pack[8][12] = {"Ok", "Back", "Sure", "Nope", "Oops", "Note", "Ask", "Really?"};
    SetLanguagePack(pack, 12);
    EXPECT_STREQ("Ok", CusCaption[CC_OK]);
    EXPECT_STREQ("Nope", CusCaption[CC_NO]);
    EXPECT_STREQ("Really?", CusCaption[CC_CONFIRMATION]);
}

TEST_F(SkinTest, CaptionsOfThirtyOneBytesFitAndThirtyTwoAreRefusedWhole)
{
    char pack[8][40] = {};
    for (auto& s : pack)
        std::memset(s, 'x', 31);
    SetLanguagePack(pack, 40);
    EXPECT_EQ(31u, std::strlen(CusCaption[CC_CONFIRMATION]));

    SetLanguagePack(zeb::kLanguagePacks[1], ZEB_CAPTION_SIZE);
    pack[7][31] = 'x';
    EXPECT_EQ("Language pack caption 7 is too long.",
              ThrownMessage([&] { SetLanguagePack(pack, 40); }));
    EXPECT_STREQ("Accept", CusCaption[CC_OK]);
    EXPECT_STREQ("Confirmation", CusCaption[CC_CONFIRMATION]);

    EXPECT_EQ("Invalid language pack.", ThrownMessage([] { SetLanguagePack(nullptr, 32); }));
    EXPECT_EQ("Invalid language pack.",
              ThrownMessage([] { SetLanguagePack(zeb::kLanguagePacks[1], -32); }));
}
