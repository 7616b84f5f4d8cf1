// Mnemonics: the `&` that marks a control's or menu item's access letter.
#pragma once

#include <string>
#include <string_view>

struct LabelText {
  std::string text;        // the text as shown: `&&` became `&`, a marking `&` is gone
  int mnemonicIndex = -1;  // the byte of `text` shown underlined, or -1
};

// Reads `&` as Windows does; with `prefix` false (SS_NOPREFIX) the text stays as it is.
LabelText ParseMnemonic(std::string_view text, bool prefix = true);
// The mnemonic letter of a text, lower-cased (letters A to Z); 0 when it has none.
char MnemonicOf(std::string_view text);
char LowerAscii(char c);
