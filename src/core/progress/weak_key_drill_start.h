#pragma once
// "苦手キーの練習" from the lesson menu: the drill's questions run as a custom lesson of the
// current practice mode, recorded in the history under the drill's name.
namespace kibiki {

class CKibikiDoc;
class CKibikiView;

// Chooses the questions from the user's history and starts the run. While the history holds no
// missed key of the mode that a built-in question practises, says so and starts nothing.
bool StartWeakKeyDrill(CKibikiView& view, CKibikiDoc& doc);

}  // namespace kibiki
