// The program's one document: its content is the editor's text.
#pragma once

#include "framework/view.h"

// Join (document files): reading and writing plain-text files through the view, the "Warn
// About Unsaved Docs" switch with its setting, the save-if-modified step and the Save and
// Save As commands arrive here.
class CSorvaneDoc : public Document {
};
