#include "expr/ExprActions.h"

#include "expr/ExprMath.h"
#include "expr/FunctionTable.h"
#include "expr/ObjectTypeTable.h"
#include "expr/PropertyTable.h"

namespace varn {

namespace {

bool isOneDimensionArray(int type) {
    return type == ExprType::Array || type == ExprType::List || type == ExprType::Bitmap ||
           type == ExprType::ObjectArray;
}

bool isManyDimensionArray(int type) { return type >= ExprType::MultiArray && type <= ExprType::MultiObjectArray; }

bool isObjectVariable(int type) {
    return type == ExprType::Object || type == ExprType::ObjectArray || type == ExprType::MultiObjectArray;
}

// Type of one element of an array variable: arrays 2/7 and 4/9 hold numbers,
// lists 3/8 strings, 6/10 objects.
int elementType(int arrayType) {
    switch (arrayType) {
    case ExprType::List:
    case 8: return ExprType::String;
    case ExprType::ObjectArray:
    case ExprType::MultiObjectArray: return ExprType::Object;
    default: return ExprType::Number;
    }
}

bool isFoldable(int op) {
    return op == ExprKind::Plus || op == ExprKind::Minus || op == ExprKind::Times || op == ExprKind::Divide;
}

}  // namespace

ExprNode* ExprActions::node(int kind, int dataType) {
    ExprNode* n = tree_.newNode();
    n->kind = kind;
    n->dataType = dataType;
    return n;
}

ExprNode* ExprActions::failed(ExprNode* n, const std::string& message) {
    diagnostics_.error(message);
    n->dataType = ExprType::Failed;
    return n;
}

ExprNode* ExprActions::number(double value) {
    ExprNode* n = node(ExprKind::Number, ExprType::Number);
    n->number = value;
    return n;
}

ExprNode* ExprActions::string(std::string&& text) {
    ExprNode* n = node(ExprKind::String, ExprType::String);
    n->text = std::move(text);
    return n;
}

ExprNode* ExprActions::binary(int op, ExprNode* left, ExprNode* right) {
    if (isFoldable(op) && left->kind == ExprKind::Number && right->kind == ExprKind::Number) {
        left->number = arithmetic(op, left->number, right->number);
        tree_.release(right);
        return left;
    }
    ExprNode* n = node(op, ExprType::Untyped);
    n->left = left;
    n->right = right;
    return n;
}

ExprNode* ExprActions::unary(int op, ExprNode* operand) {
    int kind = op == ExprKind::Minus ? ExprKind::Negate : op == ExprKind::Plus ? ExprKind::Absolute : ExprKind::Not;
    ExprNode* n = node(kind, ExprType::Untyped);
    n->left = operand;
    return n;
}

ExprNode* ExprActions::call(const std::string& name, ExprNode* arguments, int count) {
    ExprNode* n = node(ExprKind::Call, ExprType::Untyped);
    n->left = arguments;
    int index = findFunction(name);
    if (index < 0) return failed(n, name + " is unknown function/variable");
    const FunctionInfo& function = functionTable()[index];
    if (function.argumentCount >= 0 && function.argumentCount != count) {
        return failed(n, "Bad # of arguments to " + name);
    }
    n->symbolIndex = index;
    n->dataType = function.resultType;
    return n;
}

ExprNode* ExprActions::name(const std::string& name) {
    if (ExprSymbols::VariableRef var = symbols_.findVariable(name); var.variable) {
        ExprNode* n = node(ExprKind::Name, var.variable->type);
        n->symbolIndex = var.index;
        n->isLocal = var.isLocal;
        return n;
    }
    if (findFunction(name) >= 0) return call(name, nullptr, 0);
    ExprNode* n = node(ExprKind::Name, ExprType::Object);
    n->symbolIndex = symbols_.findObject(name);
    n->isObject = true;
    if (n->symbolIndex < 0) return failed(n, name + " is unknown function/variable");
    return n;
}

ExprNode* ExprActions::arrayElement(const std::string& name, ExprNode* subscripts, int count) {
    ExprNode* n = node(ExprKind::ArrayElement, ExprType::Untyped);
    n->left = subscripts;
    if (ExprSymbols::VariableRef var = symbols_.findVariable(name); var.variable) {
        n->symbolIndex = var.index;
        n->isLocal = var.isLocal;
        n->dataType = var.variable->type;
        return variableElement(name, n, count);
    }
    return objectElement(name, n, count);
}

// n->dataType holds the variable's type on entry.
ExprNode* ExprActions::variableElement(const std::string& name, ExprNode* n, int count) {
    int type = n->dataType;
    if (isOneDimensionArray(type)) {
        if (count != 1) return failed(n, name + " has incorrect array dimensions");
    } else if (isManyDimensionArray(type)) {
        const ExprVariable& var = n->isLocal ? symbols_.locals[n->symbolIndex] : symbols_.globals[n->symbolIndex];
        if (count != var.dimensions) return failed(n, name + " has incorrect array dimensions");
    } else {
        return failed(n, name + " is not an array ");
    }
    n->dataType = elementType(type);
    return n;
}

ExprNode* ExprActions::objectElement(const std::string& name, ExprNode* n, int count) {
    n->isObject = true;
    n->symbolIndex = symbols_.findObject(name);
    if (n->symbolIndex < 0) return failed(n, "array name " + name + " does not exist");
    if (symbols_.objects[n->symbolIndex].type == ObjectTypeCode::Grid) {
        if (count != 2) return failed(n, name + " is a GRID object, and subscripts must be in two dimensions");
    } else if (count != 1) {
        return failed(n, "Object subscripts must be one dimension");
    }
    n->dataType = ExprType::Object;
    return n;
}

ExprNode* ExprActions::property(const std::string& name, ExprNode* subscripts, const std::string& property) {
    ExprNode* n = node(ExprKind::Property, ExprType::Untyped);
    n->left = subscripts;
    if (!resolvePropertyOwner(name, n)) return n;
    n->propertyIndex = findProperty(property);
    if (n->propertyIndex < 0) return failed(n, property + " is not a valid property");
    const PropertyInfo& info = propertyTable()[n->propertyIndex];
    if (!info.readable) return failed(n, property + " is a write-only property");
    n->dataType = info.type;
    if (n->isObject) checkObjectHasProperty(n, subscripts != nullptr, property);
    return n;
}

// Finds the object, or else the object variable, that owns the property.
bool ExprActions::resolvePropertyOwner(const std::string& name, ExprNode* n) {
    n->symbolIndex = symbols_.findObject(name);
    if (n->symbolIndex >= 0) {
        n->isObject = true;
        return true;
    }
    ExprSymbols::VariableRef var = symbols_.findVariable(name);
    if (!var.variable) {
        failed(n, name + " is not a defined object or variable");
        return false;
    }
    if (!isObjectVariable(var.variable->type)) {
        failed(n, name + " is is not an object variable");
        return false;
    }
    n->symbolIndex = var.index;
    n->isLocal = var.isLocal;
    return true;
}

// Reports a property the object's type does not have; the node stays valid.
void ExprActions::checkObjectHasProperty(const ExprNode* n, bool subscripted, const std::string& property) {
    int typeCode = symbols_.objects[n->symbolIndex].type;
    if (typeCode == ObjectTypeCode::Grid && subscripted) return;
    const ObjectTypeInfo* type = findObjectType(typeCode);
    if (!type) {
        diagnostics_.error("Invalid object type on property property check");
        return;
    }
    if (objectTypeHasProperty(*type, property)) return;
    diagnostics_.error(std::string(type->name) + " object has no " + property + " property.");
}

}  // namespace varn
