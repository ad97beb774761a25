#include <gtest/gtest.h>

#include <pango/pangocairo.h>

#include <string>

#include "dialog_text_check.h"
#include "platform/linux/dialog/gtk_dialog_text.h"

namespace orvel {
namespace {

class DialogText : public ::testing::Test {
 protected:
  void SetUp() override {
    for (DialogFont font :
         {DialogFont::Gothic, DialogFont::GothicUnderlined, DialogFont::DialogDefault})
      fonts_[static_cast<int>(font)] = DialogFontDescription(font, "Sans 10");
    context_ = pango_font_map_create_context(pango_cairo_font_map_get_default());
  }
  void TearDown() override {
    for (PangoFontDescription* font : fonts_) pango_font_description_free(font);
    g_object_unref(context_);
  }

  const PangoFontDescription* Font(DialogFont font) const { return fonts_[static_cast<int>(font)]; }

  // Draws the control's text on the light grey client area.
  Ink Draw(DialogControl control, const std::string& text, bool enabled) {
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
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const Ink ink = InkOf(
        [&](int x, int y) {
          return *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
        },
        w, h);
    cairo_surface_destroy(surface);
    return ink;
  }
  DrawTextFn Drawer() {
    return [this](DialogControl c, const std::string& text, bool on) { return Draw(c, text, on); };
  }

  PangoFontDescription* fonts_[3] = {};
  PangoContext* context_ = nullptr;
};

TEST(DialogTextRoles, TheFaceWritesCaptionsDisplayBoxesAndTheLinkOnly) {
  ExpectTextOnCaptionsDisplayBoxesAndTheLinkOnly(DrawsText);
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

// Each caption fits its rectangle, or so nearly that narrowing it does not show.
TEST_F(DialogText, DesignedCaptionsFitTheirRectangles) {
  for (const ControlEntry& entry : DialogControls()) {
    if (!DrawsText(entry.role) || entry.caption.empty()) continue;
    const double width = TextWidth(context_, Font(entry.font), std::string(entry.caption));
    EXPECT_LE(width * 0.9, entry.rect.w) << entry.name << " \"" << entry.caption << "\" is "
                                         << width << " pixels wide in " << entry.rect.w;
  }
}

TEST_F(DialogText, TextStandsInItsRectangleAsAlignedGreyedOrAsALink) {
  ExpectTextStandsAsAligned(Drawer(), "/home/someone/Pictures/2024/旅行/一日目", 6, 1.5);
  ExpectGreyedTextAndABlueUnderlinedLink(Drawer());
}

}  // namespace
}  // namespace orvel
