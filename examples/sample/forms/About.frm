VERSION 5.00
Begin VB.Form frmAbout
   Caption         =   "About"
End
Attribute VB_Name = "frmAbout"

Private Sub cmdOK_Click()
    Unload Me
End Sub
