// Keeps a library target non-empty while its real sources are being written.
namespace {
[[maybe_unused]] int anchor = 0;
}  // namespace
