// Lets the sanitizers' allocators return null for impossible sizes, as the C
// library does, so that the tests can see std::bad_alloc and null results.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
extern "C" const char* __tsan_default_options() { return "allocator_may_return_null=1"; }
