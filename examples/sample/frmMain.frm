VERSION 5.00
Begin VB.Form frmMain
   Caption         =   "Orders"
End
Attribute VB_Name = "frmMain"
Option Explicit

Private Sub Form_Load()
    Total = 0
End Sub

Private Sub Command1_Click()
    Total = Total / Count
End Sub

Private Function Twice(n As Integer) As Integer
    Twice = n * 2
End Function
