import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Dialogs
import Velmarto

// The open, save and folder dialogs the model asks for, and the question before a save replaces
// files.
// The desktop's own dialogs are used where the platform offers them; Qt's own dialog, drawn
// inside the window, is the fallback and must work as fully.
Item {
    id: root

    required property ContentViewModel model

    // The name the user means to save under. Qt's own dialog forgets it whenever the folder
    // changes, so it is put back into each folder the user opens.
    property string saveName
    // What the model suggested; its extension is the type being saved.
    property url suggestedFile
    property bool reopening: false

    // Opening the dialog afresh in the folder the user went to is the only way to put the name
    // back into Qt's own dialog.
    function reopenSaveDialog(folder) {
        closeSaveDialogQuietly();
        showSaveDialog(folder);
        open(saveDialog);
    }
    function closeSaveDialogQuietly() {
        reopening = true;
        saveDialog.close();
        reopening = false;
    }
    // Return in the name field: a folder is opened, keeping the name; anything else is saved,
    // in the folder the typed path names.
    function submitTypedName(typed) {
        const destination = SaveDestination.resolveTyped(typed, saveDialog.currentFolder);
        if (SaveDestination.isFolder(destination)) {
            reopenSaveDialog(destination);
            return;
        }
        closeSaveDialogQuietly();
        answerSave(destination);
    }
    function showSaveDialog(folder) {
        saveDialog.currentFolder = folder;
        saveDialog.selectedFile = folder + "/" + encodeURIComponent(saveName);
    }
    function open(dialog) {
        dialog.open();
        if (!qtDialogs.holdModal())
            return;
        qtDialogs.followApplicationPalette();
        qtDialogs.showFilterNames();
        if (dialog === saveDialog)
            qtDialogs.focusFileName();
    }
    function answerSave(chosen) {
        const destination = SaveDestination.withExtension(chosen, root.suggestedFile);
        if (SaveDestination.replacesFile(destination)) {
            replaceDialog.destination = destination;
            replaceDialog.open();
        } else {
            root.model.answerFileRequest(destination);
        }
    }

    // A dialog opens on the next turn of the event loop, and only if its request is still open
    // then: a stand-in for the dialogs, as tests use, answers at once.
    Timer {
        id: dialogOpener

        property QtObject dialog

        interval: 0
        onTriggered: {
            if (root.model.isAwaitingFile)
                root.open(dialog);
        }
    }
    // Reopening from inside the dialog's own signal would confuse it; the next turn is soon enough.
    Timer {
        id: reopenLater
        interval: 0
        onTriggered: root.reopenSaveDialog(saveDialog.currentFolder)
    }
    QtFileDialogAdjuster {
        id: qtDialogs
        window: root.Window.window
        onFileNameSubmitted: typed => root.submitTypedName(typed)
    }
    FileDialog {
        id: openDialog
        objectName: "openDialog"
        title: "Choose MIDI files"
        fileMode: FileDialog.OpenFiles
        // The patterns spell every letter case; the filter's name says enough.
        // The linter of Qt 6.4 knows neither the options' type nor the values of its enums.
        options: FileDialog.HideNameFilterDetails // qmllint disable
        modality: Qt.ApplicationModal
        // Without a native dialog, Qt draws its own inside this window and needs to be told which.
        parentWindow: root.Window.window
        onAccepted: root.model.answerFilesRequest(selectedFiles)
        onRejected: root.model.cancelFileRequest()
    }
    FolderDialog {
        id: folderDialog
        objectName: "saveFolderDialog"
        title: "Save All PDFs Into"
        acceptLabel: "Save All"
        modality: Qt.ApplicationModal
        parentWindow: root.Window.window
        onAccepted: root.model.answerFileRequest(selectedFolder)
        onRejected: root.model.cancelFileRequest()
    }
    FileDialog {
        id: saveDialog
        objectName: "saveDialog"
        title: "Save a Copy"
        acceptLabel: "Save"
        fileMode: FileDialog.SaveFile
        // Every dialog gets the same question about an existing file, asked below.
        options: FileDialog.DontConfirmOverwrite | FileDialog.HideNameFilterDetails // qmllint disable
        modality: Qt.ApplicationModal
        parentWindow: root.Window.window
        onSelectedFileChanged: {
            const name = SaveDestination.fileName(SaveDestination.resolve(selectedFile, currentFolder));
            if (name !== "" && !SaveDestination.isFolder(selectedFile))
                root.saveName = name;
        }
        onCurrentFolderChanged: {
            if (visible && String(selectedFile) === "" && root.saveName !== "" && qtDialogs.holdModal())
                reopenLater.start();
        }
        onAccepted: root.answerSave(SaveDestination.resolve(selectedFile, currentFolder))
        onRejected: {
            if (!root.reopening)
                root.model.cancelFileRequest();
        }
    }
    ReplaceQuestion {
        id: replaceDialog
        objectName: "replaceDialog"

        property url destination

        namePrefix: "replace"
        heading: "“" + SaveDestination.fileName(destination) + "” already exists. Do you want to replace it?"
        onAccepted: root.model.answerFileRequest(destination)
        onRejected: root.model.cancelFileRequest()

        Label {
            width: parent.width
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
            text: "A file with the same name already exists in “" + SaveDestination.folderName(replaceDialog.destination) + "”. Replacing it will overwrite its current contents."
        }
    }
    ReplaceQuestion {
        id: replaceAllDialog
        objectName: "replaceAllDialog"

        property url folder
        property var fileNames: []

        namePrefix: "replaceAll"
        heading: "Replace " + (fileNames.length === 1 ? "a file" : fileNames.length + " files") + " already in “" + SaveDestination.fileName(folder) + "”?"
        onAccepted: root.model.answerFileRequest(folder)
        onRejected: root.model.cancelFileRequest()

        Label {
            objectName: "replacedFileNames"
            width: parent.width
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
            maximumLineCount: 8
            elide: Text.ElideRight
            text: replaceAllDialog.fileNames.join("\n")
        }
        Label {
            width: parent.width
            wrapMode: Text.Wrap
            text: "Replacing them overwrites their current contents."
        }
    }
    Connections {
        target: root.model

        function onOpenFileRequested(nameFilters) {
            openDialog.nameFilters = nameFilters;
            dialogOpener.dialog = openDialog;
            dialogOpener.restart();
        }
        function onSaveFileRequested(folder, suggestedFile, nameFilters) {
            root.suggestedFile = suggestedFile;
            root.saveName = SaveDestination.fileName(suggestedFile);
            saveDialog.nameFilters = nameFilters;
            root.showSaveDialog(folder);
            dialogOpener.dialog = saveDialog;
            dialogOpener.restart();
        }
        function onSaveFolderRequested(folder) {
            folderDialog.currentFolder = folder;
            dialogOpener.dialog = folderDialog;
            dialogOpener.restart();
        }
        function onReplaceFilesRequested(folder, fileNames) {
            replaceAllDialog.folder = folder;
            replaceAllDialog.fileNames = fileNames;
            replaceAllDialog.open();
        }
    }
}
