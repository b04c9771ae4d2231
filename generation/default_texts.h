#pragma once

#include <string_view>

namespace generation {

// The texts the window opens with, kept here so that the window and the
// command line start from the same title and message.
inline constexpr std::u16string_view kDefaultTitle = u"恭喜發財";
inline constexpr std::u16string_view kDefaultMessage =
    u"新年快樂 恭喜發財 叮叮咚咚嗆Qelvorn出版公司敬祝大家新年快樂 身體健康萬事如意年年發大財。"
    u"本字幕機拜完年還可當商品展示機，請看 qelvorn.example。";
inline constexpr std::u16string_view kWindowCaption = u"Qelvorn出版qelvorn.example";

} // namespace generation
