// Terminal bytes to keys: tables of sequence -> key, splits across reads, the Esc timeout,
// UTF-8 letters, dropped sequences and Ctrl-C.
#include "services/console/key_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

struct Expected {
  uint8_t code;
  bool extended;
};

struct Case {
  std::string_view bytes;
  Expected key;
};

std::span<const uint8_t> as_bytes(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Everything the bytes give when no more input follows.
std::vector<KeyDecodeResult> decode_all(KeyDecoder& decoder, std::string_view bytes) {
  std::vector<KeyDecodeResult> keys = decoder.feed(as_bytes(bytes));
  for (const KeyDecodeResult& key : decoder.flush()) keys.push_back(key);
  return keys;
}

std::string describe(const std::vector<KeyDecodeResult>& keys) {
  std::string text;
  for (const KeyDecodeResult& key : keys) {
    if (key.status == KeyDecodeStatus::Interrupt) {
      text += "[interrupt]";
    } else {
      text += (key.key.extended ? "[0 " : "[") + std::to_string(key.key.code) + "]";
    }
  }
  return text;
}

std::string describe(Expected key) {
  return describe({{KeyDecodeStatus::Key, 0, {key.code, key.extended}}});
}

void expect_each_case_gives_its_key(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    KeyDecoder decoder;
    EXPECT_EQ(describe(decode_all(decoder, c.bytes)), describe(c.key))
        << "bytes: " << testing::PrintToString(std::string(c.bytes));
  }
}

constexpr Expected ext(uint8_t code) { return {code, true}; }
constexpr Expected chr(uint8_t code) { return {code, false}; }

TEST(KeyDecoder, SingleBytesGiveCharactersAndTheEditingKeys) {
  expect_each_case_gives_its_key({
      {"a", chr('a')}, {"Z", chr('Z')}, {"7", chr('7')}, {" ", chr(' ')}, {"~", chr('~')},
      {"\r", chr(13)}, {"\n", chr(13)}, {"\x7f", chr(8)}, {"\b", chr(8)}, {"\t", chr(9)},
      {"\x01", chr(1)}, {"\x13", chr(19)}, {"\x19", chr(25)}, {"\x1a", chr(26)},
  });
}

TEST(KeyDecoder, CursorBlockAndFunctionKeysInCsiAndSs3Forms) {
  expect_each_case_gives_its_key({
      {"\x1b[A", ext(72)},   {"\x1b[B", ext(80)},   {"\x1b[C", ext(77)},   {"\x1b[D", ext(75)},
      {"\x1bOA", ext(72)},   {"\x1bOB", ext(80)},   {"\x1bOC", ext(77)},   {"\x1bOD", ext(75)},
      {"\x1b[H", ext(71)},   {"\x1b[F", ext(79)},   {"\x1bOH", ext(71)},   {"\x1bOF", ext(79)},
      {"\x1b[1~", ext(71)},  {"\x1b[2~", ext(82)},  {"\x1b[3~", ext(83)},  {"\x1b[4~", ext(79)},
      {"\x1b[5~", ext(73)},  {"\x1b[6~", ext(81)},  {"\x1b[7~", ext(71)},  {"\x1b[8~", ext(79)},
      {"\x1bOP", ext(59)},   {"\x1bOQ", ext(60)},   {"\x1bOR", ext(61)},   {"\x1bOS", ext(62)},
      {"\x1b[11~", ext(59)}, {"\x1b[12~", ext(60)}, {"\x1b[13~", ext(61)}, {"\x1b[14~", ext(62)},
      {"\x1b[15~", ext(63)}, {"\x1b[17~", ext(64)}, {"\x1b[18~", ext(65)}, {"\x1b[19~", ext(66)},
      {"\x1b[20~", ext(67)}, {"\x1b[21~", ext(68)}, {"\x1b[23~", ext(133)}, {"\x1b[24~", ext(134)},
      {"\x1b[[A", ext(59)},  {"\x1b[[E", ext(63)},  // the Linux console's F1 and F5
      {"\x1bOM", ext(28)},   {"\x1bOo", ext(53)},   {"\x1b[Z", ext(15)},
  });
}

TEST(KeyDecoder, ModifiedKeysGiveTheClassicPcCodes) {
  expect_each_case_gives_its_key({
      // Shift, Ctrl and Alt with F1 (SS3 key in CSI form), F5 and F10 (tilde form), F11, F12.
      {"\x1b[1;2P", ext(84)},   {"\x1b[1;5P", ext(94)},   {"\x1b[1;3P", ext(104)},
      {"\x1b[15;2~", ext(88)},  {"\x1b[15;5~", ext(98)},  {"\x1b[15;3~", ext(108)},
      {"\x1b[21;2~", ext(93)},  {"\x1b[21;5~", ext(103)}, {"\x1b[21;3~", ext(113)},
      {"\x1b[23;2~", ext(135)}, {"\x1b[23;5~", ext(137)}, {"\x1b[23;3~", ext(139)},
      {"\x1b[24;2~", ext(136)}, {"\x1b[24;5~", ext(138)}, {"\x1b[24;3~", ext(140)},
      {"\x1bO2P", ext(84)},  // an older SS3 form with the modifier alone
      // Ctrl with the cursor block.
      {"\x1b[1;5D", ext(115)}, {"\x1b[1;5C", ext(116)}, {"\x1b[1;5F", ext(117)},
      {"\x1b[6;5~", ext(118)}, {"\x1b[1;5H", ext(119)}, {"\x1b[5;5~", ext(132)},
      {"\x1b[1;5A", ext(141)}, {"\x1b[1;5B", ext(145)}, {"\x1b[2;5~", ext(146)},
      {"\x1b[3;5~", ext(147)},
      // Alt with the cursor block.
      {"\x1b[1;3H", ext(151)}, {"\x1b[1;3A", ext(152)}, {"\x1b[5;3~", ext(153)},
      {"\x1b[1;3D", ext(155)}, {"\x1b[1;3C", ext(157)}, {"\x1b[1;3F", ext(159)},
      {"\x1b[1;3B", ext(160)}, {"\x1b[6;3~", ext(161)}, {"\x1b[2;3~", ext(162)},
      {"\x1b[3;3~", ext(163)},
      // Shift leaves the cursor block alone; Alt wins over Ctrl; Meta counts as Alt.
      {"\x1b[1;2A", ext(72)},  {"\x1b[1;2H", ext(71)},  {"\x1b[6;2~", ext(81)},
      {"\x1b[1;7C", ext(157)}, {"\x1b[1;6C", ext(116)}, {"\x1b[1;9A", ext(152)},
  });
}

TEST(KeyDecoder, EscapeWithAKeyIsAltWithThatKeysScanCode) {
  expect_each_case_gives_its_key({
      {"\x1bq", ext(16)}, {"\x1bp", ext(25)}, {"\x1b" "a", ext(30)}, {"\x1bl", ext(38)},
      {"\x1bz", ext(44)}, {"\x1bm", ext(50)}, {"\x1bV", ext(47)},  {"\x1b" "A", ext(30)},
      {"\x1b" "1", ext(120)}, {"\x1b" "9", ext(128)}, {"\x1b" "0", ext(129)},
  });
}

TEST(KeyDecoder, ApplicationKeypadTypesItsCharacters) {
  expect_each_case_gives_its_key({
      {"\x1bOp", chr('0')}, {"\x1bOy", chr('9')}, {"\x1bOk", chr('+')}, {"\x1bOm", chr('-')},
  });
}

TEST(KeyDecoder, Utf8LettersBecomeTheirCodePage852Bytes) {
  expect_each_case_gives_its_key({
      {"é", chr(130)}, {"ő", chr(139)}, {"ű", chr(251)}, {"Á", chr(181)}, {"▓", chr(178)},
  });
}

TEST(KeyDecoder, CtrlCIsAnInterruptAndNeverAKey) {
  KeyDecoder decoder;
  EXPECT_EQ(describe(decode_all(decoder, "a\x03" "b")), "[97][interrupt][98]");
}

TEST(KeyDecoder, LoneEscapeWaitsThenResolvesAsTheEscKey) {
  KeyDecoder decoder;
  EXPECT_TRUE(decoder.feed(as_bytes("\x1b")).empty());
  EXPECT_TRUE(decoder.has_partial());
  EXPECT_EQ(describe(decoder.flush()), "[27]");
  EXPECT_FALSE(decoder.has_partial());
  EXPECT_EQ(describe(decoder.feed(as_bytes("a"))), "[97]");  // a later letter is not Alt+A
  // Two Esc presses in one read are two Esc keys.
  EXPECT_EQ(describe(decode_all(decoder, "\x1b\x1b")), "[27][27]");
  // Esc before a control byte stands alone.
  EXPECT_EQ(describe(decode_all(decoder, "\x1b\r")), "[27][13]");
}

TEST(KeyDecoder, TimedOutHalfSequencesAreDroppedNotTyped) {
  KeyDecoder decoder;
  EXPECT_TRUE(decoder.feed(as_bytes("\x1b[1;")).empty());
  EXPECT_EQ(describe(decoder.flush()), "");
  EXPECT_EQ(describe(decode_all(decoder, "\x1b[")), "");
  EXPECT_EQ(describe(decode_all(decoder, "\x1bO")), "[0 24]");  // Esc O alone was Alt+O
  EXPECT_EQ(describe(decoder.feed(as_bytes("5"))), "[53]");
}

TEST(KeyDecoder, SequencesSplitAtAnyByteGiveOneKey) {
  const std::vector<Case> cases = {
      {"\x1b[1;5C", ext(116)}, {"\x1bOP", ext(59)}, {"\x1b[24;3~", ext(140)},
      {"\x1b[[B", ext(60)},    {"é", chr(130)},     {"\xe2\x96\x93", chr(178)},
  };
  for (const Case& c : cases) {
    for (std::size_t split = 1; split < c.bytes.size(); ++split) {
      KeyDecoder decoder;
      std::vector<KeyDecodeResult> keys = decoder.feed(as_bytes(c.bytes.substr(0, split)));
      EXPECT_TRUE(keys.empty());
      EXPECT_TRUE(decoder.has_partial());
      keys = decoder.feed(as_bytes(c.bytes.substr(split)));
      EXPECT_EQ(describe(keys), describe(c.key)) << "split at " << split;
      EXPECT_FALSE(decoder.has_partial());
    }
  }
}

// A sequence that reaches 32 bytes without its final byte is dropped up to there, and the bytes
// after it count on their own, however the terminal's reads divided them.
TEST(KeyDecoder, OverlongSequenceGivesTheSameKeysWhateverTheReads) {
  std::string csi = "\x1b[";
  for (int i = 0; i < 20; ++i) csi += "1;";
  const std::string ss3 = "\x1bO" + std::string(40, '2') + "P";
  const std::pair<std::string, std::string> cases[] = {
      {csi + "A", "[49][59][49][59][49][59][49][59][49][59][65]"},
      {ss3, "[50][50][50][50][50][50][50][50][50][50][80]"},
  };
  for (const auto& [bytes, keys] : cases) {
    KeyDecoder whole;
    EXPECT_EQ(describe(decode_all(whole, bytes)), keys);
    KeyDecoder by_byte;
    std::vector<KeyDecodeResult> results;
    for (const char byte : bytes) {
      for (const KeyDecodeResult& key : by_byte.feed(as_bytes(std::string_view(&byte, 1)))) {
        results.push_back(key);
      }
    }
    for (const KeyDecodeResult& key : by_byte.flush()) results.push_back(key);
    EXPECT_EQ(describe(results), keys);
  }
}

TEST(KeyDecoder, KeysOfOneReadComeOutInOrder) {
  KeyDecoder decoder;
  EXPECT_EQ(describe(decode_all(decoder, "12\r\x1b[A\x1b[15~é\x1bOPx")),
            "[49][50][13][0 72][0 63][130][0 59][120]");
}

TEST(KeyDecoder, UnknownSequencesAreDroppedWhole) {
  KeyDecoder decoder;
  const std::vector<std::string_view> unknown = {
      "\x1b[99~",       "\x1b[200~",        "\x1b[?1;2c",  "\x1b[<0;10;5M", "\x1b[I",
      "\x1b[1;5;7A",    "\x1b[1;99A",       "\x1b[2 q",    "\x1bOa",        "\x1b[[Z",
      "\x1b!",          "\x1b[1;2",         "\x1b[",
  };
  for (std::string_view bytes : unknown) {
    EXPECT_EQ(describe(decode_all(decoder, bytes)), "")
        << testing::PrintToString(std::string(bytes));
  }
  // What follows an unknown sequence in the same read is still typed.
  EXPECT_EQ(describe(decode_all(decoder, "\x1b[99~x\x1b[?1;2cy")), "[120][121]");
  // A sequence broken by a control byte is dropped up to it; the byte counts.
  EXPECT_EQ(describe(decode_all(decoder, "\x1b[1\r")), "[13]");
}

TEST(KeyDecoder, CharactersWithoutACodeAndBrokenUtf8AreDropped) {
  KeyDecoder decoder;
  EXPECT_EQ(describe(decode_all(decoder, "€")), "");            // no code page 852 byte
  EXPECT_EQ(describe(decode_all(decoder, "\x80" "a")), "[97]");  // stray continuation byte
  EXPECT_EQ(describe(decode_all(decoder, "\xc3" "a")), "[97]");  // lead byte cut short
  EXPECT_EQ(describe(decode_all(decoder, "\xc1\xa9")), "");     // overlong encoding
  EXPECT_EQ(describe(decode_all(decoder, "\xed\xa0\x80")), "");  // surrogate
  EXPECT_EQ(describe(decode_all(decoder, "\xc3")), "");         // input ends inside it
  EXPECT_EQ(describe(decode_all(decoder, std::string_view("\0", 1))), "");
}

TEST(KeyDecoder, CarriageReturnLineFeedIsOneEnter) {
  KeyDecoder decoder;
  EXPECT_EQ(describe(decode_all(decoder, "1\r\n2\n\n3\r\r")), "[49][13][50][13][13][51][13][13]");
  // Also when the pair is split between two reads.
  EXPECT_EQ(describe(decoder.feed(as_bytes("\r"))), "[13]");
  EXPECT_EQ(describe(decoder.feed(as_bytes("\n"))), "");
}

TEST(KeyDecoder, RunawaySequenceDoesNotHoldInputForever) {
  KeyDecoder decoder;
  const std::string runaway = "\x1b[" + std::string(40, '1');
  decoder.feed(as_bytes(runaway));
  EXPECT_FALSE(decoder.has_partial());
}

}  // namespace
