// The ui library grows here; this keeps it non-empty until then.
namespace kibiki::ui {
int Placeholder() { return 0; }
}  // namespace kibiki::ui
