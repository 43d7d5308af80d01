#include "platform/skin.h"

#include <gtest/gtest.h>

#include <string_view>

namespace talvo {
namespace {

// real.she is read line for line like talvo.ini, except that a skin has no sections.
TEST(ParseSkinFile, TakesValidColoursWhereverTheyStandAndNothingWithoutOne) {
  const std::optional<SkinScheme> scheme = ParseSkinFile(
      "; blue skin\r\n[any]\r\n window = #102030 \r\n# text = #FFFFFF\ntext=#ABCDEF\n"
      "button = 123456\nbutton_text = #12345G\n");
  ASSERT_TRUE(scheme.has_value());
  EXPECT_EQ(scheme->window, 0x102030u);
  EXPECT_EQ(scheme->text, 0xABCDEFu);
  EXPECT_EQ(scheme->button, SkinScheme{}.button);
  EXPECT_EQ(scheme->button_text, SkinScheme{}.button_text);
  for (const std::string_view broken : {"", "window = red\n", "= #102030\n", "\x01\xFF\xFE=\n"}) {
    EXPECT_FALSE(ParseSkinFile(broken).has_value()) << broken;
  }
}

}  // namespace
}  // namespace talvo
