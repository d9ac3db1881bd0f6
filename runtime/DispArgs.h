#pragma once
// The argument block of IDispatch::Invoke as plain values: which element of
// the block the caller filled holds each parameter, and whether a call's
// arguments fit the parameters of the member it names.
#include <cstddef>
#include <vector>

namespace rt {

// The kinds of call in Invoke's flags.
constexpr unsigned DispatchMethod = 1;
constexpr unsigned DispatchPropertyGet = 2;
constexpr unsigned DispatchPropertyPut = 4;
constexpr unsigned DispatchPropertyPutRef = 8;

// For each of the call's arguments in declaration order, its element in the
// parameter block: positional arguments come last-first after the named
// ones. Named arguments with a number outside 0..count-1 are ignored.
std::vector<std::size_t> MapArguments(std::size_t count, const std::vector<int>& namedDispIds);

enum class TArgFault { None, BadParamCount, ParamNotFound };

struct TArgCheck {
    TArgFault Fault = TArgFault::None;
    std::size_t Element = 0;  // ParamNotFound: the named argument's element
};

// Whether `argCount` arguments, the first named by `namedDispIds`, supply
// each of `paramCount` parameters exactly once: too few, or more names than
// arguments, is BadParamCount; a name outside the parameters, one that a
// positional argument already supplies, or a repeated one is ParamNotFound.
// Surplus positional arguments are allowed. Where this passes, MapArguments
// points every parameter at its own element.
TArgCheck CheckArguments(std::size_t paramCount, std::size_t argCount, const std::vector<int>& namedDispIds);

}  // namespace rt
