#include "platform/linux/dialog/gtk_dialog_text.h"

#include <pango/pangocairo.h>

#include <cmath>

namespace orvel {
namespace {

// "ＭＳ Ｐゴシック" at 9.75 points is 13 pixels at 96 dpi. Where it is not
// installed, IPAPGothic takes its place: it has the same widths, and
// fontconfig knows no alias from the one to the other.
constexpr const char* kGothicFamilies = "ＭＳ Ｐゴシック,IPAPGothic";
constexpr double kGothicPixels = 13;
// The desktop's dialog font at 9 points.
constexpr double kDefaultPixels = 12;

// Every text stands on a 13-pixel line from its rectangle's top, its
// baseline where the dialog's Gothic has it.
constexpr double kBaseline = 11;
// A display box's text keeps clear of its single border.
constexpr int kBoxInset = 2;

void SetColour(cairo_t* cr, int r, int g, int b) {
  cairo_set_source_rgb(cr, r / 255.0, g / 255.0, b / 255.0);
}

}  // namespace

bool DrawsText(ControlRole role) {
  return role == ControlRole::Caption || role == ControlRole::DisplayBox ||
         role == ControlRole::Link;
}

PangoFontDescription* DialogFontDescription(DialogFont font, const std::string& desktopFont) {
  PangoFontDescription* description = nullptr;
  if (font == DialogFont::DialogDefault) {
    description = pango_font_description_from_string(desktopFont.c_str());
    // Only the family is the desktop's: the size is the dialog's own, and
    // a bold or slanted desktop font would not fit the designed captions.
    const char* family = pango_font_description_get_family(description);
    if (family == nullptr || family[0] == '\0')
      pango_font_description_set_family(description, "Sans");
    pango_font_description_set_style(description, PANGO_STYLE_NORMAL);
    pango_font_description_set_weight(description, PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(description, kDefaultPixels * PANGO_SCALE);
  } else {
    description = pango_font_description_new();
    pango_font_description_set_family(description, kGothicFamilies);
    pango_font_description_set_absolute_size(description, kGothicPixels * PANGO_SCALE);
  }
  return description;
}

namespace {

PangoLayout* Layout(PangoContext* context, const PangoFontDescription* font,
                    const std::string& text, bool underlined) {
  PangoLayout* layout = pango_layout_new(context);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
  if (underlined) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
  }
  return layout;
}

}  // namespace

double TextWidth(PangoContext* context, const PangoFontDescription* font, const std::string& text) {
  PangoLayout* layout = Layout(context, font, text, false);
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  return static_cast<double>(logical.width) / PANGO_SCALE;
}

void DrawControlText(cairo_t* cr, const ControlEntry& entry, const ControlState& state,
                     const Rect& rect, const PangoFontDescription* font) {
  if (state.text.empty()) return;
  const bool link = entry.role == ControlRole::Link;
  PangoContext* context = pango_cairo_create_context(cr);
  PangoLayout* layout =
      Layout(context, font, state.text, link || entry.font == DialogFont::GothicUnderlined);
  g_object_unref(context);
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  const double width = static_cast<double>(logical.width) / PANGO_SCALE;

  const int inset = entry.role == ControlRole::DisplayBox ? kBoxInset : 0;
  const double left = rect.x + inset;
  const double room = rect.w - 2 * inset;
  // A stand-in font that runs a little wider than the designed one is
  // narrowed to the rectangle rather than cut.
  const double narrowing = width > room && room > 0 ? room / width : 1;
  const double drawn = width * narrowing;
  double x = left;
  if (entry.align == TextAlign::Centre) x = left + std::round((room - drawn) / 2);
  if (entry.align == TextAlign::Right) x = left + std::round(room - drawn);
  const double baseline = static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE;
  const double y = std::round(rect.y + inset + kBaseline - baseline);

  cairo_save(cr);
  cairo_rectangle(cr, rect.x, rect.y, rect.w, rect.h);
  cairo_clip(cr);
  auto show = [&](double atX, double atY) {
    cairo_save(cr);
    cairo_translate(cr, atX, atY);
    cairo_scale(cr, narrowing, 1);
    cairo_move_to(cr, 0, 0);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
  };
  if (!state.enabled) {
    // Greyed as disabled labels always were: grey, with a white shadow
    // below and to the right.
    SetColour(cr, 255, 255, 255);
    show(x + 1, y + 1);
    SetColour(cr, 128, 128, 128);
  } else if (link) {
    SetColour(cr, 0, 0, 255);
  } else {
    SetColour(cr, 0, 0, 0);
  }
  show(x, y);
  cairo_restore(cr);
  g_object_unref(layout);
}

}  // namespace orvel
