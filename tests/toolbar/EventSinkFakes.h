#pragma once
// Stand-ins for what the event sink meets on Windows: an argument block
// built by the test and an event source that keeps its connections.
#include <algorithm>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "runtime/DispArgs.h"
#include "toolbar/SHDocVwEvents.h"

namespace zrtest {

// An automation object an event can hand over.
class TestObject : public platform::IBrowserObject {
public:
    std::shared_ptr<platform::IBrowser> AsBrowser() override { return nullptr; }
};

// A value of a type the sink has no reading for (an array, say).
struct Opaque {
    bool operator==(const Opaque&) const = default;
};

using TestValue = std::variant<std::monostate, bool, int, std::string, toolbar::TDispatch, Opaque>;

struct TestArg {
    TestValue value;
    bool byRef = false;
};
inline TestArg Ref(TestValue value) { return {std::move(value), true}; }
inline TestArg Ref(const char* text) { return {std::string(text), true}; }

// A block of arguments with strict readings: each reads only as its own type.
class TestArgs : public toolbar::IDispArgs {
public:
    TestArgs(std::vector<TestArg> block, std::vector<int> named = {}) : block(std::move(block)), named(std::move(named)) {}
    // Arguments in declaration order, placed last-first as a caller places them.
    static TestArgs Positional(std::vector<TestArg> args) {
        std::reverse(args.begin(), args.end());
        return TestArgs(std::move(args));
    }
    // The element of the i-th parameter of a positional block.
    TestValue& Param(std::size_t i) { return block[block.size() - 1 - i].value; }

    std::size_t Count() const override { return block.size(); }
    std::vector<int> NamedIds() const override { return named; }
    toolbar::TDispArgType Type(std::size_t e) const override {
        using T = toolbar::TDispArgType;
        constexpr T kTypes[] = {T::Empty, T::Bool, T::Integer, T::Text, T::Dispatch, T::Other};
        return kTypes[At(e).value.index()];
    }
    bool IsByRef(std::size_t e) const override { return At(e).byRef; }

    std::string Text(std::size_t e) const override { return Get<std::string>(e); }
    int Integer(std::size_t e) const override { return Get<int>(e); }
    bool Bool(std::size_t e) const override { return Get<bool>(e); }
    rt::Variant Value(std::size_t e) const override {
        const TestValue& v = At(e).value;
        if (auto* b = std::get_if<bool>(&v)) return *b;
        if (auto* i = std::get_if<int>(&v)) return *i;
        if (auto* s = std::get_if<std::string>(&v)) return *s;
        return rt::Variant();
    }
    toolbar::TDispatch Dispatch(std::size_t e) const override {
        if (std::holds_alternative<std::monostate>(At(e).value)) return nullptr;
        return Get<toolbar::TDispatch>(e);
    }

    void SetBool(std::size_t e, bool value) override { Set(e, value); }
    void SetInteger(std::size_t e, int value) override { Set(e, value); }
    void SetValue(std::size_t e, const rt::Variant& value) override {
        if (value.IsEmpty()) Set(e, std::monostate{});
        else if (value.IsText()) Set(e, value.ToString());
        else if (value.TypeName() == "Boolean") Set(e, value.ToBool());
        else Set(e, static_cast<int>(value.ToInt64()));
    }
    void SetDispatch(std::size_t e, const toolbar::TDispatch& value) override { Set(e, value); }

    std::vector<TestArg> block;
    std::vector<int> named;
    int writes = 0;
    // What a caller must never do, though it is answered with an error: read
    // past the block, write into an element passed by value.
    mutable std::vector<std::string> misuse;

private:
    const TestArg& At(std::size_t e) const {
        if (e >= block.size()) {
            misuse.push_back("element " + std::to_string(e) + " of " + std::to_string(block.size()));
            throw toolbar::EDispArgTypeError("no such element", e);
        }
        return block[e];
    }
    template <class T>
    T Get(std::size_t e) const {
        if (auto* v = std::get_if<T>(&At(e).value)) return *v;
        throw toolbar::EDispArgTypeError("wrong type", e);
    }
    void Set(std::size_t e, TestValue value) {
        if (!At(e).byRef) {
            misuse.push_back("a write into by-value element " + std::to_string(e));
            throw toolbar::EDispArgTypeError("not by reference", e);
        }
        block[e].value = std::move(value);
        ++writes;
    }
};

// An event source as the browser's connection point behaves: a connection
// that is let go stops reaching its sink even when Unadvise failed.
class TestEventSource : public toolbar::IEventSource {
public:
    struct Advised {
        toolbar::TSHDocVwEventsBaseSink* sink;
        bool attached;
    };

    std::unique_ptr<toolbar::IEventConnection> Advise(toolbar::TSHDocVwEventsBaseSink& sink) override {
        ++advises;
        iids.push_back(sink.SinkIID());
        if (!failure.empty()) throw rt::EOleException(failure);
        advised.push_back(std::make_shared<Advised>(Advised{&sink, true}));
        return std::make_unique<Connection>(*this, advised.back());
    }

    // Invokes every sink the source still holds; the last answer.
    toolbar::TInvokeResult Fire(int dispId, toolbar::IDispArgs& args, unsigned flags = rt::DispatchMethod) {
        toolbar::TInvokeResult result;
        for (const auto& a : std::vector(advised))
            if (a->attached) result = a->sink->Invoke(dispId, flags, args);
        return result;
    }
    std::size_t Held() const { return advised.size(); }

    std::vector<std::shared_ptr<Advised>> advised;  // what the source holds
    std::vector<toolbar::TGUID> iids;               // asked for, per Advise
    int advises = 0, unadvises = 0;
    std::string failure;        // Advise raises this
    bool failUnadvise = false;  // Unadvise raises and the source keeps the sink

private:
    class Connection : public toolbar::IEventConnection {
    public:
        Connection(TestEventSource& source, std::shared_ptr<Advised> advised) : source_(source), advised_(advised) {}
        ~Connection() override { advised_->attached = false; }
        void Unadvise() override {
            ++source_.unadvises;
            if (source_.failUnadvise) throw rt::EOleException("Unadvise failed");
            std::erase(source_.advised, advised_);
        }

    private:
        TestEventSource& source_;
        std::shared_ptr<Advised> advised_;
    };
};

}  // namespace zrtest
