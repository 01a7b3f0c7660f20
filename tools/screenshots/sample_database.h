#pragma once

#include <QString>

namespace lexora {

class Document;
class Node;

// The nodes of the sample database that the pictures show.
struct SampleNodes {
    Node *shell = nullptr;       // a key below a key
    Node *findFiles = nullptr;   // an item with a code block of the default templates
    Node *homeNetwork = nullptr; // an item showing an included picture
    Node *ranges = nullptr;
};

// Fills document, which holds the default templates, with a few keys and items written by
// "anna", an included picture made in workFolder, and two entries of the tray. The document is
// unmodified afterwards.
SampleNodes fillSampleDatabase(Document &document, const QString &workFolder);

} // namespace lexora
