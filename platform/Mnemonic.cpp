// Reading `&` mnemonics out of texts.
#include "platform/Mnemonic.h"

LabelText ParseMnemonic(std::string_view text, bool prefix) {
  LabelText label;
  if (!prefix) {
    label.text = text;
    return label;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      label.text += text[i];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '&') {
      label.text += '&';
      ++i;
    } else if (i + 1 < text.size() && label.mnemonicIndex < 0) {
      label.mnemonicIndex = static_cast<int>(label.text.size());
    }
  }
  return label;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

char MnemonicOf(std::string_view text) {
  LabelText label = ParseMnemonic(text);
  if (label.mnemonicIndex < 0) return 0;
  return LowerAscii(label.text[static_cast<size_t>(label.mnemonicIndex)]);
}
