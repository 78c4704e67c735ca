// Storage for the nodes of one expression: nodes are handed out from blocks
// that are kept between expressions, so checking does not allocate per node.
#pragma once

#include "expr/ExprNode.h"

#include <cstddef>
#include <deque>
#include <vector>

namespace varn {

class ExprTree {
public:
    // A fresh node with the default field values. Throws std::bad_alloc.
    ExprNode* newNode();
    // Gives back a node without children that is no longer referenced.
    void release(ExprNode* node);
    // Forgets all nodes and the root.
    void clear();

    ExprNode* root() const { return root_; }
    void setRoot(ExprNode* root) { root_ = root; }
    std::size_t nodeCount() const { return used_ - free_.size(); }

private:
    std::deque<ExprNode> nodes_;
    std::vector<ExprNode*> free_;
    std::size_t used_ = 0;
    ExprNode* root_ = nullptr;
};

}  // namespace varn
