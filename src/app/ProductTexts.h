#pragma once

#include <QString>

namespace pixolo
{

// The product's own texts, kept scrambled (see HexScramble2) and decoded when they are needed.
namespace ProductTexts
{

// The product title; also the first caption text and the About window's own entry.
inline constexpr const char kTitle[] = "9026B531488341777644";
// Second caption text; also the About window's second label.
inline constexpr const char kCaptionText2[] = "ABC204D8EE22E1976C71079612A97F770D946A00D5DD";
// Third caption text; also the About window's third label.
inline constexpr const char kCaptionText3[] = "50F00AD2122ECDBDF3FBF18614E09615E99F776218FB2D";
// The product's web address: the caption's last text and the About link.
inline constexpr const char kWebAddress[] = "9A53975C9C402A096888A14AE906250338E0122FCF6C81FF33F2300F";
// The version text of the About window's own entry.
inline constexpr const char kVersion[] = "DE9670A8DF2C88F87AF879";
// Put before the title in the About window's caption.
inline constexpr const char kAboutCaptionPrefix[] = "F3895F437863A1";
// About window: the short heading.
inline constexpr const char kAboutHeading[] = "FB1CD51EDD1AD9";
// About window: the long heading.
inline constexpr const char kAboutTitle[] = "5B11807C33EE2C42A06EDE9577ABC115F48A7F641A89651DF2CAE0C83E74A931";
// About window: the line above the link.
inline constexpr const char kAboutThanks[]
    = "CAE136853EBE31489A13A735A4DC2199D03DB9F2E0C0F5E1C8E8F5D2E9C6397262A0D737972DE4CFE5C4324B50566DA1611A914377A77A";
// About window: description lines.
inline constexpr const char kAboutLine1[]
    = "F58B6A5910F7FEB80BDF9810C8FFC116AB7F5F15E9CEE62BB6F0DED1911EFAB16EA7978D95E59C755C14C6D0E63EA9DC0DF9B06CA9C117EE"
      "8152BFF5D3D7ED2D8C23FDC1F8D432469649";
inline constexpr const char kAboutLine2[] = "457D53AAC21CF38814E95AF4150A017108F8E59B08C7FEDB354C87457C5EB2C931B7F1D9DE"
                                            "9476641AFAD89805C1F6E6D4EAC831479F00B613CAE0DF2A41875F149F06BB30B9CD1EF0";
inline constexpr const char kAboutLine3[] = "2F45806F09D93346966319846B02C9D0E3348137977636A27F37E9F38941ACC31FFCB46A42"
                                            "323707BE36982EEE2D469D18AD68417854B1C91F962AFA2D";
inline constexpr const char kAboutLine4[]
    = "2B428E6B049111A531B7CCD5C0F62CE98267710A9717AB37BDFDEA275DBC3C75AC07BE03E49A6FACC21B813799760B9808BF04FCB061B3";

// Decodes a stored text with HexScramble2 and the empty key, as UTF-8.
QString decode(const char *stored);

} // namespace ProductTexts

} // namespace pixolo
