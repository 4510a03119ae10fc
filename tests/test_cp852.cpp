// Code page 852 conversion.
#include <gtest/gtest.h>

#include "services/text/cp852.h"

TEST(Cp852, HungarianLettersHaveTheirBytes) {
  EXPECT_EQ(cp852("á"), "\xA0");
  EXPECT_EQ(cp852("é"), "\x82");
  EXPECT_EQ(cp852("ő"), "\x8B");
  EXPECT_EQ(cp852("ű"), "\xFB");
  EXPECT_EQ(cp852("Ő"), "\x8A");
  EXPECT_EQ(cp852(" Szimuláció ").size(), 12u);
}

TEST(Cp852, ShadeBlockIsByte178) {
  EXPECT_EQ(cp852_to_unicode(178), U'\u2593');
  EXPECT_EQ(unicode_to_cp852(U'\u2593'), 178);
}

TEST(Cp852, EveryByteRoundTrips) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(cp852(cp852_to_utf8(one)), one) << byte;
  }
}

TEST(Cp852, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(cp852("a€b"), "a?b");
  EXPECT_EQ(unicode_to_cp852(U'€'), -1);
  EXPECT_EQ(cp852("\xC3"), "?");  // a cut-off UTF-8 sequence
}
