// Feeds arbitrary bytes to the XML tree: reading and writing back must never
// crash, whatever the document.
#include "app/xml/XMLTree.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::shared_ptr<XMLTree> tree = XMLTree::treeWithData(bytes);
    if (tree)
        tree->toString();
    return 0;
}
