#pragma once
// Puts the editor's highlighter classes into the program's highlighter list. The shell
// calls it once at start-up; each highlighter added to the editor adds itself here.

void RegisterEditorHighlighters();
