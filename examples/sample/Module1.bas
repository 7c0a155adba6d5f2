Attribute VB_Name = "Module1"
Option Explicit

Public Sub Main()
    frmMain.Show
End Sub

Public Sub I_Process_Errors()
    MsgBox "Error " & Err.Number & ": " & Err.Description, vbExclamation, App.Title
End Sub
