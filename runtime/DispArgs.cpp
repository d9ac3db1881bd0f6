#include "runtime/DispArgs.h"

namespace rt {

std::vector<std::size_t> MapArguments(std::size_t count, const std::vector<int>& namedDispIds) {
    std::vector<std::size_t> map(count);
    for (std::size_t k = 0; k < count; ++k) map[k] = count - 1 - k;
    for (std::size_t j = 0; j < namedDispIds.size() && j < count; ++j) {
        const int position = namedDispIds[j];
        if (position >= 0 && static_cast<std::size_t>(position) < count) map[position] = j;
    }
    return map;
}

TArgCheck CheckArguments(std::size_t paramCount, std::size_t argCount, const std::vector<int>& namedDispIds) {
    const std::size_t named = namedDispIds.size();
    if (named > argCount || argCount < paramCount) return {TArgFault::BadParamCount, 0};
    const std::size_t positional = argCount - named;
    std::vector<bool> taken(paramCount, false);
    for (std::size_t j = 0; j < named; ++j) {
        const int id = namedDispIds[j];
        // Without this a name could shadow a positional argument, and the
        // map would hand one element to two parameters.
        if (id < 0 || static_cast<std::size_t>(id) >= paramCount || static_cast<std::size_t>(id) < positional ||
            taken[id])
            return {TArgFault::ParamNotFound, j};
        taken[id] = true;
    }
    return {};
}

}  // namespace rt
