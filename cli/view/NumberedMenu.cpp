// Numbered menu lists: a mnemonic digit for the first nine, ampersands of names doubled.
#include "cli/view/NumberedMenu.h"

namespace zel_cli {

std::vector<NumberedItem> NumberedItems(const std::vector<std::string>& texts, UINT firstId,
                                        int checked) {
  std::vector<NumberedItem> items;
  for (size_t i = 0; i < texts.size(); ++i) {
    NumberedItem item;
    const size_t number = i + 1;
    item.text = (number <= 9 ? "&" : "") + std::to_string(number) + " ";
    // An ampersand of the text is shown, not taken for a mnemonic.
    for (char c : texts[i]) item.text += c == '&' ? std::string("&&") : std::string(1, c);
    item.id = firstId + static_cast<UINT>(i);
    item.checked = static_cast<int>(i) == checked;
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace zel_cli
