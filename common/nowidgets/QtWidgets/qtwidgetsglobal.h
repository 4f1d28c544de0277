// Seen first by the libraries of documents and files only: every widget header starts by
// including this one, so a document that reaches for a window class stops the build here
// instead of tying the file formats (which machinecheck and the simulator side share) to
// the windows.
#error "a document or file library must not include a widget header"
