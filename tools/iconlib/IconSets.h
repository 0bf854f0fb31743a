// What the shipped icon libraries hold: for each file, the emoji drawn as its icons, in order.
// The five standard libraries go to icons/, the bonus sets to BonusIcons/.
#pragma once

#include <string_view>
#include <vector>

namespace quillory {

struct IconSet {
    std::string_view file;  // relative to the program folder
    std::vector<std::string_view> emoji;
};

inline const std::vector<IconSet>& ShippedIconSets()
{
    static const std::vector<IconSet> sets = {
        // Activities: sport, games, hobbies, chores.
        {"icons/activity.icl",
         {"⚽", "🏀", "🏈", "⚾", "🎾", "🏐", "🏉", "🎱", "🏓", "🏸", "🥊", "🥋", "⛳", "🏒",
          "🎣", "🏊", "🚴", "🏃", "🚶", "🧘", "🏋", "⛷", "🏂", "⛸", "🧗", "🚣", "🏄", "🤸",
          "🎨", "🎭", "🎬", "🎤", "🎧", "🎸", "🎹", "🎻", "🥁", "🎮", "🧩", "♟", "📚", "✍",
          "🧶", "🧵", "🛒", "🧹", "🍳", "📷", "🏕", "🎯", "🎳", "🪁"}},
        // Events: family, work, health, travel, meals out.
        {"icons/events.icl",
         {"🎂", "🎉", "🎊", "🎁", "🎈", "💍", "💒", "👶", "👪", "👫", "👴", "👵", "🎓", "🏆",
          "🥇", "📅", "⏰", "💼", "📞", "✉", "💌", "🏠", "🚚", "🩺", "🏥", "💉", "💊", "🤒",
          "🦷", "👓", "✈", "🚗", "🚆", "🚢", "🚌", "🧳", "🏖", "⛺", "🗺", "🎫", "🎪", "🎡",
          "🍽", "🍕", "🍔", "🍰", "🥂", "🍷", "☕", "🍺", "🥗", "🍎"}},
        // Holidays of several traditions through the year.
        {"icons/holiday.icl",
         {"🎄", "🎅", "🤶", "⛄", "🔔", "🎆", "🎇", "🥂", "🧧", "🏮", "🐉", "🎎", "🎏", "🎑",
          "🥮", "🎋", "🎍", "🕎", "🕯", "✡", "🪔", "🕉", "🛕", "🕌", "☪", "🌙", "⛪", "✝",
          "🐣", "🐰", "🥚", "🌷", "☘", "🍀", "💘", "💝", "🌹", "🎃", "👻", "🦃", "🍂", "🪅",
          "🌮", "🎭", "👑", "🥳", "🎀", "🍾", "⭐", "🌟"}},
        // Miscellaneous #1: weather, sky and the seasons.
        {"icons/misc1.icl",
         {"☀", "🌤", "⛅", "🌥", "☁", "🌦", "🌧", "⛈", "🌩", "🌨", "❄", "🌬", "🌪", "🌫",
          "🌈", "☔", "⚡", "🌡", "🌙", "🌛", "⭐", "🌞", "🌝", "🌊", "🌸", "🌼", "🌻", "🌺",
          "🌷", "🍁", "🍂", "🍃", "🌱", "🌲", "🌳", "🌴", "🌵", "🏔", "⛰", "🌋", "🏝", "🌅",
          "🌄", "🌌", "🌍", "☃", "🔥", "💧"}},
        // Miscellaneous #2: moods, feelings and gestures.
        {"icons/misc2.icl",
         {"😀", "😃", "😄", "😁", "😆", "😅", "😂", "🙂", "😉", "😊", "😇", "🥰", "😍", "😘",
          "😋", "😎", "🤓", "🤔", "😐", "😑", "😶", "🙄", "😏", "😴", "😌", "😔", "😢", "😭",
          "😤", "😠", "😡", "🤯", "😱", "😨", "😰", "🥵", "🥶", "🤢", "🤮", "🤕", "😷", "🥳",
          "😬", "🙃", "🤗", "❤", "💔", "👍", "👎", "👏", "🙏", "💪"}},
        // Bonus: animals and pets.
        {"BonusIcons/Animals.icl",
         {"🐶", "🐱", "🐭", "🐹", "🐰", "🦊", "🐻", "🐼", "🐨", "🐯", "🦁", "🐮", "🐷", "🐸",
          "🐵", "🐔", "🐧", "🐦", "🐤", "🦆", "🦅", "🦉", "🐴", "🦄", "🐝", "🦋", "🐌", "🐞",
          "🐢", "🐍", "🐙", "🐬", "🐳", "🐟", "🐠", "🦀", "🐘", "🦒", "🦓", "🐑", "🐐", "🐪",
          "🐿", "🦔", "🐾"}},
        // Bonus: food and drink.
        {"BonusIcons/Food and Drink.icl",
         {"🍏", "🍎", "🍐", "🍊", "🍋", "🍌", "🍉", "🍇", "🍓", "🍒", "🍑", "🥭", "🍍", "🥥",
          "🥝", "🍅", "🥑", "🥦", "🥕", "🌽", "🥔", "🍞", "🥐", "🧀", "🥚", "🥓", "🥞", "🍗",
          "🍖", "🌭", "🍔", "🍟", "🍕", "🥪", "🌮", "🍜", "🍣", "🍦", "🍩", "🍪", "🍫", "🍿",
          "🍵", "🥤", "🍹"}},
    };
    return sets;
}

} // namespace quillory
