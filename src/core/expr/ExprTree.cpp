#include "expr/ExprTree.h"

namespace varn {

namespace {
// Blocks beyond this many nodes are given back to the system after a check.
constexpr std::size_t kKeptNodes = 4096;
}

ExprNode* ExprTree::newNode() {
    if (!free_.empty()) {
        ExprNode* node = free_.back();
        free_.pop_back();
        *node = ExprNode{};
        return node;
    }
    if (used_ < nodes_.size()) {
        ExprNode* node = &nodes_[used_++];
        *node = ExprNode{};
        return node;
    }
    nodes_.emplace_back();
    ++used_;
    return &nodes_.back();
}

void ExprTree::release(ExprNode* node) {
    node->text.clear();
    free_.push_back(node);
}

void ExprTree::clear() {
    root_ = nullptr;
    used_ = 0;
    free_.clear();
    if (nodes_.size() > kKeptNodes) {
        nodes_.clear();
        nodes_.shrink_to_fit();
        free_.shrink_to_fit();
    }
}

}  // namespace varn
