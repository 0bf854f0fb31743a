// The engine's own messages (status texts, questions, file-dialog filters) in English and German.
#pragma once

#include <string_view>

namespace quillory {

enum class MessageLanguage : unsigned char { English, German };

namespace WPMsg {
inline constexpr int FileFilter = 56001;
inline constexpr int AbortOperation = 56002;
inline constexpr int Ready = 56003;
inline constexpr int Reading = 56004;
inline constexpr int Writing = 56005;
inline constexpr int Formatting = 56006;
inline constexpr int FormattingToo = 56007;
inline constexpr int InitializeMemory = 56008;
inline constexpr int NoTextSelected = 56009;
inline constexpr int Rich = 56010;
inline constexpr int Plain = 56011;
inline constexpr int InternalError = 56012;
inline constexpr int DeleteAllTabs = 56013;
// A German text has the number of its English text plus this.
inline constexpr int GermanOffset = 100;
} // namespace WPMsg

// The text of message `number` (the English number) in the language, as UTF-8; German numbers
// (English + 100) give the German text whatever the language. Empty for an unknown number.
std::string_view WPMessage(int number, MessageLanguage language = MessageLanguage::English) noexcept;

} // namespace quillory
