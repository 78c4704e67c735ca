// Expression tree node shared by the parser, the checks and the evaluator,
// with the data type codes and the node kind codes (also the token codes).
#pragma once

#include <string>

namespace varn {

// Data type codes of nodes, functions, variables and properties.
struct ExprType {
    static constexpr int Failed = -1;  // the node's check or evaluation failed
    static constexpr int Any = -1;     // function argument of any type
    static constexpr int Number = 0;
    static constexpr int String = 1;
    static constexpr int Array = 2;
    static constexpr int List = 3;
    static constexpr int Bitmap = 4;
    static constexpr int Object = 5;
    static constexpr int ObjectArray = 6;
    static constexpr int MultiArray = 7;       // 7..10: many-dimensional arrays
    static constexpr int MultiObjectArray = 10;
    static constexpr int Untyped = 100;
};

// Node kinds. The operators and constants double as the lexer's token codes.
struct ExprKind {
    static constexpr int None = -9999;
    static constexpr int And = 257;
    static constexpr int Or = 258;
    static constexpr int Not = 259;
    static constexpr int ArrayElement = 260;
    static constexpr int Plus = 261;
    static constexpr int Minus = 262;
    static constexpr int Times = 263;
    static constexpr int Divide = 264;
    static constexpr int Modulo = 265;
    static constexpr int Negate = 266;
    static constexpr int Absolute = 267;  // unary plus
    static constexpr int Equal = 268;
    static constexpr int NotEqual = 269;
    static constexpr int Greater = 270;
    static constexpr int Less = 271;
    static constexpr int GreaterEqual = 272;
    static constexpr int LessEqual = 273;
    static constexpr int Number = 274;
    static constexpr int String = 275;
    static constexpr int Name = 276;
    static constexpr int Call = 277;
    static constexpr int Xor = 278;
    static constexpr int Property = 279;
};

// One node. Nodes live in an ExprTree, which frees them all at once, so the
// links are plain pointers.
struct ExprNode {
    int kind = ExprKind::None;
    int dataType = ExprType::Untyped;
    double number = -9999.0;
    std::string text;
    int symbolIndex = -1;    // variable, object or function index
    int propertyIndex = -1;  // index into the property table
    bool isObject = false;   // the name is a form object, not a variable
    bool isLocal = false;    // the variable is a local one
    ExprNode* left = nullptr;   // operand, first argument or first subscript
    ExprNode* right = nullptr;  // second operand
    ExprNode* next = nullptr;   // next argument or subscript of a list
};

}  // namespace varn
