/* Umbralux example skin "Slate": a Qt style sheet. Install it as x/o.cjs beside the program.
   The program paints the window, its frames and option buttons in the button-face colour and the
   colour swatch in your screen colour; a skin should leave those backgrounds alone. */

QPushButton {
    background-color: #2f6f73;
    color: #ffffff;
    border: 1px solid #1d4a4d;
    border-radius: 4px;
    padding: 2px 12px;
}
QPushButton:hover {
    background-color: #3a878c;
}
QPushButton:pressed {
    background-color: #1d4a4d;
}
QPushButton:focus {
    border: 2px solid #f2b134;
}

QGroupBox {
    border: 1px solid #2f6f73;
    border-radius: 4px;
    margin-top: 8px;
    color: #1d4a4d;
}
QGroupBox::title {
    subcontrol-origin: margin;
    left: 8px;
    padding: 0 3px;
}

QRadioButton, QCheckBox {
    color: #1d3335;
}

QLineEdit {
    border: 1px solid #2f6f73;
    border-radius: 3px;
    padding: 1px 4px;
    background-color: #ffffff;
    selection-background-color: #2f6f73;
}
