#pragma once

// The banner that begins the plug-in's description and heads the server header of the answers.
inline constexpr const char* kBanner = "Velotam v1.0.2";
// The banner, a blank and the maker's credit in parentheses.
inline constexpr const char* kBannerWithCredit = "Velotam v1.0.2 (Velotam developers)";
