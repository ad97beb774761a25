#include <gtest/gtest.h>

#include <pango/pangocairo.h>

#include <string>

#include "dialog/dialog_layout.h"
#include "platform/linux/gtk_dialog_text.h"

namespace orvel {
namespace {

// What a caption left on a white client area: the box around its dark
// pixels, and which colours it used.
struct Ink {
  Rect box;
  bool black = false, grey = false, white = false, blue = false;
  int widestBlueRow = 0;
};

class DialogText : public ::testing::Test {
 protected:
  void SetUp() override {
    for (DialogFont font :
         {DialogFont::Gothic, DialogFont::GothicUnderlined, DialogFont::DialogDefault}) {
      fonts_[static_cast<int>(font)] = DialogFontDescription(font, "Sans 10");
    }
    context_ = pango_font_map_create_context(pango_cairo_font_map_get_default());
  }
  void TearDown() override {
    for (PangoFontDescription* font : fonts_) pango_font_description_free(font);
    g_object_unref(context_);
  }

  const PangoFontDescription* Font(DialogFont font) const { return fonts_[static_cast<int>(font)]; }

  // Draws the control's text on a white client area, the background a
  // light grey so that the white shadow of greyed text shows.
  Ink Draw(DialogControl control, const std::string& text, bool enabled = true) {
    const int w = kDialogClientSize.width, h = kDialogClientSize.height;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.8, 0.8, 0.8);
    cairo_paint(cr);
    const ControlEntry& entry = EntryOf(control);
    DrawControlText(cr, entry, ControlState{Look::None, text, enabled}, ClientRect(control),
                    Font(entry.font));
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    Ink ink;
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    int left = w, top = h, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y) {
      int blueRun = 0;
      for (int x = 0; x < w; ++x) {
        const auto pixel = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
        const int r = RedOf(pixel), g = GreenOf(pixel), b = BlueOf(pixel);
        if (r == 204 && g == 204 && b == 204) continue;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
        ink.black |= r < 60 && g < 60 && b < 60;
        ink.grey |= r == g && g == b && r >= 110 && r <= 150;
        ink.white |= r > 240 && g > 240 && b > 240;
        const bool blue = b - std::max(r, g) > 40;
        ink.blue |= blue;
        blueRun = blue ? blueRun + 1 : 0;
        ink.widestBlueRow = std::max(ink.widestBlueRow, blueRun);
      }
    }
    cairo_surface_destroy(surface);
    if (right >= 0) ink.box = Rect{left, top, right - left + 1, bottom - top + 1};
    return ink;
  }

  PangoFontDescription* fonts_[3] = {};
  PangoContext* context_ = nullptr;
};

bool Inside(const Rect& inner, const Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

TEST(DialogTextRoles, TheFaceWritesCaptionsDisplayBoxesAndTheLinkOnly) {
  int written = 0;
  for (const ControlEntry& entry : DialogControls()) {
    const bool text = entry.role == ControlRole::Caption || entry.role == ControlRole::DisplayBox ||
                      entry.role == ControlRole::Link;
    EXPECT_EQ(DrawsText(entry.role), text) << entry.name;
    written += text;
  }
  EXPECT_GT(written, 0);
}

TEST_F(DialogText, TheGothicIsTheDialogsOwnOrItsStandInAtThirteenPixels) {
  PangoFont* font = pango_context_load_font(context_, Font(DialogFont::Gothic));
  ASSERT_NE(font, nullptr);
  PangoFontDescription* loaded = pango_font_describe_with_absolute_size(font);
  const std::string family = pango_font_description_get_family(loaded);
  EXPECT_TRUE(family == "ＭＳ Ｐゴシック" || family == "IPAPGothic") << family;
  EXPECT_EQ(pango_font_description_get_size(loaded), 13 * PANGO_SCALE);
  pango_font_description_free(loaded);
  g_object_unref(font);
}

TEST_F(DialogText, TheDesktopFontKeepsOnlyItsFamilyAtNinePoints) {
  for (const char* desktop : {"Cantarell Bold Italic 11", "DejaVu Sans 10"}) {
    PangoFontDescription* font = DialogFontDescription(DialogFont::DialogDefault, desktop);
    const std::string family = pango_font_description_get_family(font);
    EXPECT_EQ(family, std::string(desktop).substr(0, family.size())) << desktop;
    EXPECT_EQ(pango_font_description_get_weight(font), PANGO_WEIGHT_NORMAL) << desktop;
    EXPECT_EQ(pango_font_description_get_style(font), PANGO_STYLE_NORMAL) << desktop;
    EXPECT_TRUE(pango_font_description_get_size_is_absolute(font)) << desktop;
    EXPECT_EQ(pango_font_description_get_size(font), 12 * PANGO_SCALE) << desktop;
    pango_font_description_free(font);
  }
  // A desktop font without a family still gives one.
  PangoFontDescription* sized = DialogFontDescription(DialogFont::DialogDefault, "11");
  EXPECT_STREQ(pango_font_description_get_family(sized), "Sans");
  pango_font_description_free(sized);
}

// The designed captions in the fonts the dialog uses: each fits its
// rectangle, or so nearly that narrowing it to the rectangle does not show.
TEST_F(DialogText, DesignedCaptionsFitTheirRectangles) {
  for (const ControlEntry& entry : DialogControls()) {
    if (!DrawsText(entry.role) || entry.caption.empty()) continue;
    const double width = TextWidth(context_, Font(entry.font), std::string(entry.caption));
    EXPECT_LE(width * 0.9, entry.rect.w) << entry.name << " \"" << entry.caption << "\" is "
                                         << width << " pixels wide in " << entry.rect.w;
  }
}

TEST_F(DialogText, TextStandsInItsRectangleAsAligned) {
  // A number in a display box: right-aligned inside the border.
  const Rect kei = ClientRect(DialogControl::lbl_Kei);
  const Ink count = Draw(DialogControl::lbl_Kei, "12");
  EXPECT_TRUE(count.black);
  EXPECT_TRUE(Inside(count.box, Rect{kei.x + 2, kei.y + 2, kei.w - 4, kei.h - 4}));
  EXPECT_GE(count.box.Right(), kei.Right() - 4);
  EXPECT_GE(count.box.x, kei.x + 14);

  // A heading's caption: centred, on the 13-pixel line from its top.
  const Rect heading = ClientRect(DialogControl::lbl_13);
  const Ink centred = Draw(DialogControl::lbl_13, "画像ﾁｪﾝｼﾞ");
  EXPECT_TRUE(Inside(centred.box, Rect{heading.x, heading.y, heading.w, 13}));
  EXPECT_NEAR(centred.box.x + centred.box.w / 2.0, heading.x + heading.w / 2.0, 1.5);

  // A left-aligned caption starts at its left edge.
  const Rect order = ClientRect(DialogControl::lbl_Rdm_Seq_1);
  const Ink left = Draw(DialogControl::lbl_Rdm_Seq_1, "ﾗﾝﾀﾞﾑ");
  EXPECT_TRUE(Inside(left.box, order));
  EXPECT_LE(left.box.x, order.x + 1);

  // Text far wider than its rectangle stays inside it and fills it.
  const Rect path = ClientRect(DialogControl::Folder_Path);
  const Ink narrowed = Draw(DialogControl::Folder_Path, "/home/someone/Pictures/2024/旅行/一日目");
  EXPECT_TRUE(Inside(narrowed.box, path));
  EXPECT_GE(narrowed.box.Right(), path.Right() - 6);

  EXPECT_EQ(Draw(DialogControl::lbl_Kei, "").box, Rect{});
}

TEST_F(DialogText, DisabledTextIsGreyedAndTheLinkBlueAndUnderlined) {
  const Ink greyed = Draw(DialogControl::lbl_Button_4, "ﾌｧｲﾙ名", false);
  EXPECT_TRUE(greyed.grey);
  EXPECT_TRUE(greyed.white);
  EXPECT_FALSE(greyed.black);
  const Ink enabled = Draw(DialogControl::lbl_Button_4, "ﾌｧｲﾙ名");
  EXPECT_TRUE(enabled.black);
  EXPECT_FALSE(enabled.white);

  const std::string address = "https://orvel.example.org/";
  const Ink link = Draw(DialogControl::lbl_URL, address);
  EXPECT_TRUE(link.blue);
  EXPECT_FALSE(link.black);
  // The underline runs under the whole address.
  EXPECT_GE(link.widestBlueRow,
            TextWidth(context_, Font(DialogFont::GothicUnderlined), address) - 2);
}

}  // namespace
}  // namespace orvel
