#include "GUI_TestScene.h"

#include "core/Core_MemoryFile.h"
#include "gui/GUI_GuiImage.h"
#include "gui/GUI_ResourcePaths.h"
#include "os/OS_ByteOrder.h"

#include <bit>
#include <cmath>
#include <random>

using Core::RefPtr;
using GUI::GuiImage;
using GUI::NRectangle;
using GUI::PieceSet;
using guitest::New;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Set 0: a 32 x 16 area at (16, 8) with borders of 4; set 1: splits on the
// area's edges (no borders); set 2: an 8 x 8 area with borders of 2.
const PieceSet kSets[] = {
    {16, 8, 32, 16, 4, 28, 4, 12},
    {0, 0, 32, 32, 0, 32, 0, 32},
    {0, 0, 8, 8, 2, 6, 2, 6},
};
const NRectangle kScreen(0, 0, 1024, 768);

Bytes Saved(const Core::Object& object) {
    Core::MemoryFile file;
    file << &object;
    return {file.GetData(), file.GetData() + file.GetSize()};
}

RefPtr<GuiImage> Read(const Bytes& bytes) {
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return RefPtr<GuiImage>(file.ReadObjectAs<GuiImage>(Core::File::Reference::Owning));
}

class SkinImages : public guitest::GuiScene {
protected:
    SkinImages() { resources.WriteSkin("Test", kSets, 64, 32); }

    RefPtr<GuiImage> Image(const char* skin = "Test", Vector2D size = {80, 40}) {
        const RefPtr<GuiImage> image = New<GuiImage>(GUI::GetSkinFilePath(skin), size);
        image->SetPosition({100, 50});
        return image;
    }
    // The pieces' rectangles, row by row from the top.
    static std::vector<NRectangle> Layout(const GuiImage& image) {
        std::vector<NRectangle> pieces;
        for (std::size_t i = 0; i < GuiImage::kPieceCount; ++i) {
            pieces.push_back(image.GetPiece(i));
        }
        return pieces;
    }
};

TEST_F(SkinImages, PathsHangBelowTheResourcesBesideTheExecutable) {
    const std::string r = resources.Root() + "\\Resources";
    const std::pair<Core::String, std::string> paths[] = {
        {GUI::GetResourcesFolderName(), "Resources"},
        {GUI::GetSkinsPath(), r + "\\Skins"},
        {GUI::GetOverlaysPath(), r + "\\Skins\\Overlays"},
        {GUI::GetFontsPath(), r + "\\Fonts"},
        {GUI::GetCursorsPath(), r + "\\Cursors"},
        {GUI::GetSkinFilePath("Blue"), r + "\\Skins\\Blue\\Blue"},
        {GUI::GetFontFilePath("Sans"), r + "\\Fonts\\Sans\\Sans"},
        {GUI::GetOverlayFilePath("ComboDown.png"), r + "\\Skins\\Overlays\\ComboDown.png"},
        {GUI::GetSkinsFolderFilePath("Gray.png"), r + "\\Skins\\Gray.png"},
        {GUI::GetCursorFilePath("Arrow.png"), r + "\\Cursors\\Arrow.png"},
    };
    for (const auto& [built, expected] : paths) {
        EXPECT_EQ(std::string(built), expected);
    }
}

TEST_F(SkinImages, PiecesTakeTheirCellOfThePieceSetAndLayOutFromTheLowerLeft) {
    const RefPtr<GuiImage> image = Image();
    EXPECT_EQ(textures.Requests().back().fileName, std::string(GUI::GetSkinFilePath("Test")) + ".png");
    EXPECT_FALSE(textures.Requests().back().mipmaps);
    EXPECT_TRUE(image->GetTextureWidth() == 64 && image->GetTextureHeight() == 32);
    const Vector2D corners[] = {{0.25f, 0.625f}, {0.3125f, 0.625f}, {0.3125f, 0.75f}, {0.25f, 0.75f}};
    for (std::size_t corner = 0; corner < 4; ++corner) {
        EXPECT_EQ(image->GetPiece(0).GetTexCoord(corner), corners[corner]) << corner;
    }
    EXPECT_EQ(image->GetPiece(GuiImage::kBottomRight).GetTexCoord(0), Vector2D(0.6875f, 0.25f));
    EXPECT_EQ(Layout(*image), (std::vector<NRectangle>{{100, 86, 4, 4},
                                                       {104, 86, 72, 4},
                                                       {176, 86, 4, 4},
                                                       {100, 54, 4, 32},
                                                       {104, 54, 72, 32},
                                                       {176, 54, 4, 32},
                                                       {100, 50, 4, 4},
                                                       {104, 50, 72, 4},
                                                       {176, 50, 4, 4}}));
    EXPECT_TRUE(image->GetLeftBorder() == 4 && image->GetRightBorder() == 4 && image->GetTopBorder() == 4);
    image->Draw(kScreen);
    EXPECT_EQ(Queued(), 9u);
    const GUI::ImageRenderContext& centre = *image->GetRenderer(GuiImage::kCenter);
    EXPECT_TRUE(centre.corners[0].x == 104 && centre.corners[2].y == 86 && centre.texture == image->GetTexture());
}

TEST_F(SkinImages, SplitsOnTheEdgesDrawOnlyTheCentreAndNarrowImagesKeepTheRightColumnInPlace) {
    const RefPtr<GuiImage> image = Image();
    image->SetPieceSet(1);
    image->Draw(kScreen);
    EXPECT_EQ(Queued(), 1u);
    EXPECT_EQ(NRectangle(image->GetPiece(GuiImage::kCenter)), NRectangle(100, 50, 80, 40));
    EXPECT_EQ(image->GetPiece(GuiImage::kCenter).GetTexCoord(2), Vector2D(0.5f, 1));

    const RefPtr<GuiImage> narrow = Image("Test", {6, 40});
    EXPECT_EQ(NRectangle(narrow->GetPiece(GuiImage::kTop)), NRectangle(104, 86, 0, 4));
    EXPECT_EQ(NRectangle(narrow->GetPiece(GuiImage::kTopRight)), NRectangle(102, 86, 4, 4));
    const RefPtr<GuiImage> tiny = Image("Test", {2, 2});
    EXPECT_EQ(NRectangle(tiny->GetPiece(GuiImage::kTopLeft)), NRectangle(100, 48, 2, 2));
}

TEST_F(SkinImages, OnlyChangesMarkTheImageForRebuilding) {
    const RefPtr<GuiImage> image = Image();
    const auto setters = std::vector<std::pair<const char*, std::function<void(bool)>>>{
        {"position", [&](bool change) { image->SetPosition({change ? 1.0f : 100.0f, 50}); }},
        {"width", [&](bool change) { image->SetWidth(change ? 81.0f : 80.0f); }},
        {"height", [&](bool change) { image->SetHeight(change ? 41.0f : 40.0f); }},
        {"colour", [&](bool change) { image->SetColor(Color(1, 1, change ? 0.5f : 1.0f, 1)); }},
        {"opacity", [&](bool change) { image->SetOpacity(change ? 0.5f : 1.0f); }},
        {"depth", [&](bool change) { image->SetDepth(change ? 3.0f : 0.0f); }},
        {"piece set", [&](bool change) { image->SetPieceSet(change ? 2 : 0); }},
    };
    for (const auto& [what, set] : setters) {
        image->Draw(kScreen);
        set(false);
        EXPECT_FALSE(image->IsDirty()) << what;
        set(true);
        EXPECT_TRUE(image->IsDirty()) << what;
        image->Draw(kScreen);
        set(false);
        EXPECT_TRUE(image->IsDirty()) << what;
    }
    image->Draw(kScreen);
    const std::vector<NRectangle> before = Layout(*image);
    for (const std::uint32_t ignored : {0u, 3u, 4u, 0xFFFFFFFFu}) {
        image->SetPieceSet(ignored);
        EXPECT_TRUE(image->GetPieceSet() == 0 && !image->IsDirty() && Layout(*image) == before) << ignored;
    }
    for (const float bad : {NAN, INFINITY}) {
        image->SetWidth(bad), image->SetHeight(bad), image->SetDepth(bad), image->SetPosition({bad, 0});
        EXPECT_TRUE(!image->IsDirty() && image->GetWidth() == 80 && image->GetPosition() == Vector2D(100, 50));
    }
    // A new clip rebuilds the quads against it.
    image->Draw(NRectangle(0, 0, 150, 768));
    EXPECT_EQ(image->GetRenderer(GuiImage::kTopRight)->visible, 0);
    EXPECT_EQ(image->GetRenderer(GuiImage::kTop)->corners[1].x, 150);
    EXPECT_EQ(image->GetLastClip(), NRectangle(0, 0, 150, 768));
    image->SetVisible(false);
    const std::size_t queued = Queued();
    image->Draw(kScreen);
    EXPECT_TRUE(Queued() == queued && image->GetLastClip() == NRectangle(0, 0, 150, 768));
}

TEST_F(SkinImages, ASkinChangeKeepsTheVisualStateAndFallsBackToPieceSetZero) {
    resources.WriteSkin("Small", std::span(kSets, 1), 64, 32);
    const RefPtr<GuiImage> image = Image();
    image->SetPieceSet(2);
    image->SetColor(Color(0.5f, 0.25f, 1, 1));
    image->SetOpacity(0.75f);
    image->SetDepth(4);
    image->SetVisible(false);
    for (const auto& [skin, pieceSet] : {std::pair{"Small", 0u}, {"Test", 2u}}) {
        const RefPtr<GuiImage> clone = image->CloneWithSkin(GUI::GetSkinFilePath(skin));
        EXPECT_EQ(clone->GetPieceSet(), pieceSet) << skin;
        EXPECT_TRUE(clone->GetWidth() == 80 && clone->GetHeight() == 40 && clone->GetColor().g == 0.25f);
        EXPECT_TRUE(clone->GetOpacity() == 0.75f && clone->GetDepth() == 4 && !clone->IsVisible());
        EXPECT_TRUE(clone->GetPosition() == Vector2D() && clone->GetRenderer(0) != image->GetRenderer(0));
        EXPECT_EQ(NRectangle(clone->GetPiece(0)), NRectangle(0, 40 - kSets[pieceSet].height + kSets[pieceSet].topSplit,
                                                            kSets[pieceSet].leftSplit,
                                                            kSets[pieceSet].height - kSets[pieceSet].topSplit));
    }
}

TEST_F(SkinImages, StreamsRoundTripWithoutLayoutAndRefuseWhatTheyCannotHold) {
    const RefPtr<GuiImage> image = Image();
    image->SetPieceSet(2);
    image->SetColor(Color(0.5f, 0.25f, 1, 1));
    image->Draw(NRectangle(1, 2, 300, 400));
    Bytes bytes = Saved(*image);
    // Reference header, then the name; piece 0's x follows it. A stored layout is taken as it stands.
    const std::size_t header = 1 + 4 + std::strlen("GUI::GuiImage") + 4;
    const std::size_t firstPiece = header + 4 + image->GetName().size();
    os::StoreU32LE(bytes.data() + firstPiece, std::bit_cast<std::uint32_t>(999.0f));
    const RefPtr<GuiImage> read = Read(bytes);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(Saved(*read), bytes);
    EXPECT_TRUE(read->GetPiece(0).GetX() == 999 && read->IsDirty() && read->GetPieceSet() == 2);
    EXPECT_TRUE(read->GetTexture() == image->GetTexture() && read->GetRenderer(0) != nullptr);
    const RefPtr<GuiImage> copy(static_cast<GuiImage*>(read->Clone()));
    EXPECT_TRUE(Saved(*copy) == bytes && copy->GetRenderer(0) != read->GetRenderer(0));

    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_EQ(Read(Bytes(bytes.begin(), bytes.begin() + cut)), nullptr) << cut;
    }
    // A failed read into a live image changes nothing.
    const Bytes before = Saved(*image);
    Core::MemoryFile cut(bytes.data() + header, static_cast<std::uint32_t>(bytes.size() - header - 1));
    image->Load(cut);
    EXPECT_TRUE(cut.HasFailed() && Saved(*image) == before);

    // The piece-set index, count and last clip close the stream.
    const std::size_t index = bytes.size() - 16 - 4 - 3 * 32 - 4;
    Bytes pastTheEnd = bytes;
    os::StoreU32LE(pastTheEnd.data() + index, 3);
    EXPECT_EQ(Read(pastTheEnd)->GetPieceSet(), 0u);
    Bytes tooMany = bytes;
    os::StoreU32LE(tooMany.data() + index + 4, GUI::kMaxPieceSets + 1);
    EXPECT_EQ(Read(tooMany), nullptr);
}

using HostileSkins = SkinImages;

TEST_F(HostileSkins, CutAndForgedDescriptorsGiveTheWholeRecordsUpToTheCap) {
    const Bytes whole = GUI::EncodeSkinDescriptor(kSets);
    EXPECT_EQ(GUI::ParseSkinDescriptor(whole), std::vector<PieceSet>(std::begin(kSets), std::end(kSets)));
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        resources.WriteSkinDescriptor("Test", Bytes(whole.begin(), whole.begin() + cut));
        const RefPtr<GuiImage> image = Image();
        const std::size_t held = cut < 4 ? 0 : (cut - 4) / 32;
        ASSERT_EQ(image->GetPieceSetCount(), held) << cut;
        image->SetPieceSet(2);
        image->Draw(kScreen);
        EXPECT_EQ(image->GetPieceSet(), held == 3 ? 2u : 0u);
    }
    Bytes forged(whole.begin(), whole.begin() + 36);
    os::StoreU32LE(forged.data(), 0xFFFFFFFFu);
    EXPECT_EQ(GUI::ParseSkinDescriptor(forged), std::vector<PieceSet>{kSets[0]});
    Bytes many(4 + 100 * 32);
    os::StoreU32LE(many.data(), 100);
    EXPECT_EQ(GUI::ParseSkinDescriptor(many).size(), GUI::kMaxPieceSets);
    resources.WriteSkinDescriptor("Test", many);
    EXPECT_EQ(Image()->GetPieceSetCount(), GUI::kMaxPieceSets);
}

TEST_F(HostileSkins, AMissingDescriptorOrValuesThatAreNotFiniteDrawNothing) {
    const RefPtr<GuiImage> missing = Image("Absent");
    missing->SetPieceSet(0);
    missing->Draw(kScreen);
    EXPECT_TRUE(missing->GetPieceSetCount() == 0 && Queued() == 0);

    for (const float bad : {NAN, INFINITY, -INFINITY}) {
        for (std::size_t field = 0; field < 8; ++field) {
            PieceSet set = kSets[0];
            (&set.x)[field] = bad;
            resources.WriteSkin("Bad", std::span(&set, 1), 64, 32);
            Image("Bad")->Draw(kScreen);
            EXPECT_EQ(Queued(), 0u) << field;
        }
    }
    // Huge values are finite but overflow on the way: such pieces are not drawn either.
    const PieceSet huge{3e38f, -3e38f, 3e38f, 3e38f, -3e38f, 3e38f, -3e38f, 3e38f};
    resources.WriteSkin("Huge", std::span(&huge, 1), 64, 32);
    const RefPtr<GuiImage> image = Image("Huge");
    image->Draw(kScreen);
    for (std::size_t i = 0; i < GuiImage::kPieceCount; ++i) {
        const GUI::ImageRenderContext& quad = *image->GetRenderer(i);
        for (const Vector2D& uv : quad.texCoords) {
            EXPECT_TRUE(quad.visible == 0 || (std::isfinite(uv.x) && std::isfinite(uv.y))) << i;
        }
    }
}

// The parser takes any bytes; the image draws whatever it gives.
TEST_F(HostileSkins, SeededMutationsParseWithinTheBytesAndDraw) {
    const Bytes seed = GUI::EncodeSkinDescriptor(kSets);
    std::mt19937 random(19);
    for (int round = 0; round < 10000; ++round) {
        Bytes bytes = seed;
        for (int edits = 1 + static_cast<int>(random() % 8); edits > 0; --edits) {
            switch (random() % 3) {
            case 0: bytes.resize(random() % (bytes.size() + 1)); break;
            case 1: if (!bytes.empty()) bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random()); break;
            default: bytes.insert(bytes.begin() + random() % (bytes.size() + 1), static_cast<std::uint8_t>(random()));
            }
        }
        const std::vector<PieceSet> sets = GUI::ParseSkinDescriptor(bytes);
        const std::size_t stored = bytes.size() < 4 ? 0 : os::LoadU32LE(bytes.data());
        ASSERT_EQ(sets.size(), std::min<std::size_t>({stored, bytes.size() < 4 ? 0 : (bytes.size() - 4) / 32, 64}));
        if (round % 20 == 0) {
            resources.WriteSkinDescriptor("Test", bytes);
            const RefPtr<GuiImage> image = Image("Test", {static_cast<float>(random() % 100), 30});
            image->SetPieceSet(random() % 4);
            image->Draw(kScreen);
            queue.ClearScreenObjects();
        }
    }
}

}  // namespace
