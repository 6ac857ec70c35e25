#pragma once
// The pictures an editor page draws into its gutter, made in code: index 1 marks the
// run line of a stepping run, index 4 a breakpoint; the others are empty.

#include <memory>

class TCodeImageList;

inline constexpr int GutterGlyphSize = 11;
inline constexpr int GutterGlyphRunLine = 1;
inline constexpr int GutterGlyphBreakpoint = 4;
// Where the glyphs stand in the gutter.
inline constexpr int GutterGlyphLeft = 14;

std::unique_ptr<TCodeImageList> MakeGutterGlyphs();
