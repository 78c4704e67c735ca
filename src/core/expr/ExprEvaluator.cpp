#include "expr/ExprEvaluator.h"

#include "expr/ExprMath.h"
#include "expr/ObjectTypeTable.h"
#include "expr/PropertyTable.h"

namespace varn {

namespace {

constexpr int N = ExprType::Number;
constexpr int S = ExprType::String;
constexpr int O = ExprType::Object;

bool isArithmetic(int kind) {
    return kind == ExprKind::Plus || kind == ExprKind::Minus || kind == ExprKind::Times ||
           kind == ExprKind::Divide || kind == ExprKind::Modulo;
}

bool isLogic(int kind) { return kind == ExprKind::And || kind == ExprKind::Or || kind == ExprKind::Xor; }

bool isComparison(int kind) { return kind >= ExprKind::Equal && kind <= ExprKind::LessEqual; }

bool either(const ExprNode* a, const ExprNode* b, int type) { return a->dataType == type || b->dataType == type; }

void setNumber(ExprNode* node, double value) {
    node->dataType = N;
    node->number = value;
}

// A node's string value for use in a result: taken over from a computed node,
// copied from a constant, which keeps its own.
std::string takeText(ExprNode* node) {
    if (node->kind == ExprKind::String) return node->text;
    return std::move(node->text);
}

bool compareNumbers(int kind, double a, double b) {
    switch (kind) {
    case ExprKind::Equal: return a == b;
    case ExprKind::NotEqual: return a != b;
    case ExprKind::Greater: return a > b;
    case ExprKind::Less: return a < b;
    case ExprKind::GreaterEqual: return a >= b;
    default: return a <= b;
    }
}

}  // namespace

int ExprEvaluator::evaluate(ExprNode* root) {
    stack_.clear();
    stack_.push_back({root, 0});
    while (!stack_.empty()) {
        Frame& frame = stack_.back();
        ExprNode* node = frame.node;
        int stage = frame.stage++;
        ExprNode* done = stage == 1 ? node->next : stage == 2 ? node->left : stage == 3 ? node->right : nullptr;
        if (done && done->dataType < 0) {
            node->dataType = ExprType::Failed;
            stack_.pop_back();
            continue;
        }
        if (stage == 3) {
            apply(node);
            stack_.pop_back();
            continue;
        }
        ExprNode* child = stage == 0 ? node->next : stage == 1 ? node->left : node->right;
        if (child) stack_.push_back({child, 0});
    }
    return root->dataType < 0 ? -1 : 0;
}

void ExprEvaluator::fail(ExprNode* node, const std::string& message) {
    diagnostics_.error(message);
    node->dataType = ExprType::Failed;
}

void ExprEvaluator::apply(ExprNode* node) {
    int kind = node->kind;
    if (kind == ExprKind::Number || kind == ExprKind::String) return;
    if (node->dataType == ExprType::Failed) return;  // its check failed
    node->text.clear();
    if (isArithmetic(kind)) return arithmetic(node);
    if (kind == ExprKind::Negate || kind == ExprKind::Absolute) return sign(node);
    if (isLogic(kind)) return logic(node);
    if (kind == ExprKind::Not) return negation(node);
    if (isComparison(kind)) return compare(node);
    if (kind == ExprKind::Call) {
        functions_.apply(node);
        return;
    }
    if (kind == ExprKind::Name) return name(node);
    if (kind == ExprKind::ArrayElement) return arrayElement(node);
    if (kind == ExprKind::Property) return property(node);
    node->dataType = ExprType::Failed;
}

void ExprEvaluator::arithmetic(ExprNode* node) {
    ExprNode* a = node->left;
    ExprNode* b = node->right;
    if (either(a, b, S) && node->kind != ExprKind::Plus) return fail(node, "Strings can only be added");
    if (either(a, b, O)) return fail(node, "Math operations not allow on OBJECTs");
    if (a->dataType == N && b->dataType == N) {
        double value = node->kind == ExprKind::Modulo ? unsignedRemainder(a->number, b->number)
                                                      : varn::arithmetic(node->kind, a->number, b->number);
        return setNumber(node, value);
    }
    if (a->dataType == S && b->dataType == S) {
        std::string sum = takeText(a);
        sum += b->text;
        node->text = std::move(sum);
        node->dataType = S;
        return;
    }
    if (either(a, b, S)) return fail(node, "String/numeric type conflict in expression.");
    fail(node, "Datatype mismatch");
}

void ExprEvaluator::sign(ExprNode* node) {
    ExprNode* a = node->left;
    if (a->dataType == S) return fail(node, "Strings can only be added");
    if (a->dataType == O) return fail(node, "Math operations not allowed on OBJECTs");
    if (a->dataType != N) return fail(node, "Datatype mismatch");
    setNumber(node, node->kind == ExprKind::Negate ? -a->number : std::fabs(a->number));
}

void ExprEvaluator::logic(ExprNode* node) {
    ExprNode* a = node->left;
    ExprNode* b = node->right;
    if (either(a, b, S)) return fail(node, "Strings can only be added");
    if (either(a, b, O)) return fail(node, "Boolean operations not allowed on OBJECTs");
    if (a->dataType != N || b->dataType != N) return fail(node, "Datatype mismatch");
    std::int32_t x = truncToInt32(a->number);
    std::int32_t y = truncToInt32(b->number);
    std::int32_t r = node->kind == ExprKind::And ? (x & y) : node->kind == ExprKind::Or ? (x | y) : (x ^ y);
    setNumber(node, r);
}

void ExprEvaluator::negation(ExprNode* node) {
    ExprNode* a = node->left;
    if (a->dataType == S) {
        node->dataType = ExprType::Failed;  // fails without a message
        return;
    }
    if (a->dataType == O) return fail(node, "Boolean operations not allowed on OBJECTs");
    if (a->dataType != N) return fail(node, "Datatype mismatch");
    setNumber(node, a->number == 0.0 ? 1.0 : 0.0);
}

void ExprEvaluator::compare(ExprNode* node) {
    ExprNode* a = node->left;
    ExprNode* b = node->right;
    int kind = node->kind;
    if (a->dataType != b->dataType) return fail(node, "Datatype mismatch");
    if (a->dataType == N) return setNumber(node, compareNumbers(kind, a->number, b->number) ? 1.0 : 0.0);
    bool equality = kind == ExprKind::Equal || kind == ExprKind::NotEqual;
    if (a->dataType == S) {
        if (!equality) return fail(node, "Relative string compare not supported");
        return setNumber(node, (a->text == b->text) == (kind == ExprKind::Equal) ? 1.0 : 0.0);
    }
    if (!equality) return fail(node, "Relative object compare not supported");
    setNumber(node, compareNumbers(kind, a->number, b->number) ? 1.0 : 0.0);
}

// Variables have no values before the program runs: they read as 0, the
// empty string or a null object; an object reads as its handle.
void ExprEvaluator::name(ExprNode* node) {
    if (node->isObject) {
        node->dataType = O;
        node->number = node->symbolIndex;
        return;
    }
    const ExprVariable& var = node->isLocal ? symbols_.locals[node->symbolIndex] : symbols_.globals[node->symbolIndex];
    node->dataType = var.type;
    node->number = 0.0;
}

void ExprEvaluator::arrayElement(ExprNode* node) {
    int wanted = 1;
    if (node->isObject) {
        wanted = symbols_.objects[node->symbolIndex].type == ObjectTypeCode::Grid ? 2 : 1;
    } else {
        const ExprVariable& var =
            node->isLocal ? symbols_.locals[node->symbolIndex] : symbols_.globals[node->symbolIndex];
        if (var.type >= ExprType::MultiArray) wanted = var.dimensions;
    }
    int given = 0;
    for (const ExprNode* s = node->left; s; s = s->next) {
        if (s->dataType != N || s->number < 0) return fail(node, "Invalid array subscript expression.");
        ++given;
    }
    if (given > wanted) return fail(node, "Too many dimensions on array reference.");
    if (given < wanted) return fail(node, "Insufficient dimensions on array reference.");
    node->number = 0.0;  // the element type was set by the check
}

// Subscripts on a property owner: a grid takes a row and a column, an object
// array one index, a many-dimensional object array its indexes. The error
// message, or nullptr when they are valid.
const char* ExprEvaluator::propertyIndexError(const ExprNode* node) const {
    const ExprNode* first = node->left;
    if (!first) return nullptr;
    auto valid = [](const ExprNode* s) { return s && s->dataType == N && s->number >= 0; };
    if (node->isObject && symbols_.objects[node->symbolIndex].type == ObjectTypeCode::Grid) {
        if (!valid(first)) return "Invalid row index on GRID property reference.";
        if (!valid(first->next)) return "Invalid column index on GRID property reference.";
        return nullptr;
    }
    bool multi = !node->isObject &&
                 (node->isLocal ? symbols_.locals : symbols_.globals)[node->symbolIndex].type ==
                     ExprType::MultiObjectArray;
    for (const ExprNode* s = first; s; s = s->next) {
        if (valid(s)) continue;
        return multi ? "Illegal index on multi-dimensional array property reference."
                     : "Illegal index on array property reference.";
    }
    return nullptr;
}

// In the IDE a readable property has a neutral value.
void ExprEvaluator::property(ExprNode* node) {
    if (const char* error = propertyIndexError(node)) return fail(node, error);
    int type = propertyTable()[node->propertyIndex].type;
    if (type != N && type != S && type != O) return fail(node, "Invalid property datatype.");
    node->dataType = type;
    node->number = 0.0;
}

}  // namespace varn
