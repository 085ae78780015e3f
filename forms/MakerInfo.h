// The maker's fixed texts and addresses, kept in one place. The project has no public site yet:
// the addresses lie under the reserved example.org domain.
#pragma once

namespace maker
{

constexpr const char* BrandLabel = "Velmaris";
constexpr const char* Author = "星野 楓";
// The home page as the About box shows it, and the program's own page below it, which it opens.
constexpr const char* HomePageShown = "https://example.org/velmaris/";
constexpr const char* HomePage = "https://example.org/velmaris/quorvane/";
constexpr const char* MailAddress = "velmaris@example.org";

} // namespace maker
